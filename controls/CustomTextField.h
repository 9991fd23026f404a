#pragma once

#include <QLineEdit>

// A text field with a thin grey frame and no bezel of the style's: the text
// sits 2 points in from the top left corner, and Qt's own editing (cursor,
// selection, clear button) stays as it is.
class CustomTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit CustomTextField(QWidget *parent = nullptr);

    // The field's look, run once from the constructor.
    void initConfigure();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setBackgroundColor(const QColor &color);
};
