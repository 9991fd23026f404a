#pragma once

#include <QLineEdit>

// A text field with a thin grey frame and no bezel of the style's: the text
// sits 2 points in from the top left corner, and Qt's own editing (cursor,
// selection, clear button) stays as it is.
class CustomTextField : public QLineEdit {
    Q_OBJECT
    // Shadows QLineEdit's, so that interface files set this one: Qt looks the
    // clear icon up in the icon theme, which costs more than the rest of the
    // window before its first frame, so the field asks for it when it shows.
    Q_PROPERTY(bool clearButtonEnabled READ isClearButtonWanted WRITE setClearButtonWanted)
public:
    explicit CustomTextField(QWidget *parent = nullptr);

    bool isClearButtonWanted() const { return _clearButtonWanted; }
    void setClearButtonWanted(bool wanted);

    // The field's look, run once from the constructor.
    void initConfigure();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setBackgroundColor(const QColor &color);

    bool _clearButtonWanted = false;
};
