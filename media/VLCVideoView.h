#pragma once

#include <QWidget>
#include <atomic>

// The native child window the engine draws the picture into. Mouse and keys
// pass through to Qt. Never reparent it: its window id would change under the
// player.
class VLCVideoView : public QWidget {
    Q_OBJECT
public:
    // AppKit's autoresizing bits that matter here.
    enum AutoresizingMask { WidthSizable = 2, HeightSizable = 16 };

    explicit VLCVideoView(const QRect &frame, QWidget *parent);
    static VLCVideoView *initWithFrame(const QRect &frame, QWidget *parent)
    {
        return new VLCVideoView(frame, parent);
    }

    // The X11 window the engine may draw into, or 0 when the platform has none.
    // Fixed at construction; safe to read from any thread.
    unsigned long x11Window() const { return _x11Window.load(); }

    void setAutoresizingMask(int mask) { _autoresizingMask = mask; }
    int autoresizingMask() const { return _autoresizingMask; }

    // YES: the picture keeps its aspect and fills the view, cropping what sticks out.
    void setFillScreen(bool fill);
    bool fillScreen() const { return _fillScreen; }

signals:
    void fillChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    std::atomic<unsigned long> _x11Window{0};
    int _autoresizingMask = 0;
    bool _fillScreen = false;
};
