#pragma once

#include <QAbstractButton>

// A view holding window buttons: it tells them whether the pointer is over
// their group, which is when they draw their symbols.
class WindowButtonGroup {
public:
    virtual bool _mouseInGroup(QAbstractButton *button) const = 0;

protected:
    ~WindowButtonGroup() = default;
};

// One of the three round window buttons (close, minimize, zoom) that a title
// bar of our own carries: a coloured circle that draws its symbol while the
// view it lies in answers YES to _mouseInGroup.
class StandardWindowButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Kind { Close, Miniaturize, Zoom };

    // A new button of that kind, in no view yet: the caller takes it over.
    static StandardWindowButton *standardWindowButton(Kind kind);

    Kind kind() const { return _kind; }
    QSize sizeHint() const override { return {15, 15}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    explicit StandardWindowButton(Kind kind);
    bool drawsSymbol();

    Kind _kind;
};
