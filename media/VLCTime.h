#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A media time in milliseconds. An empty time stands for a length the engine
// has not reported (or reported as 0 or less).
class VLCTime {
public:
    VLCTime() = default;
    explicit VLCTime(int64_t milliseconds)
        : _ms(milliseconds)
    {
    }
    static VLCTime initWithInt(int milliseconds) { return VLCTime(milliseconds); }

    bool isKnown() const { return _ms.has_value(); }
    // Truncated to 32 bits as the callers expect; 0 when unknown.
    int32_t intValue() const { return static_cast<int32_t>(_ms.value_or(0)); }
    // The whole count; 0 when unknown.
    int64_t milliseconds() const { return _ms.value_or(0); }
    // "00:00" when there is no length, else minutes:seconds, with hours when needed.
    QString stringValue() const;

private:
    std::optional<int64_t> _ms;
};
