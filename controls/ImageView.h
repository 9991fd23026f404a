#pragma once

#include <QLabel>
#include <QString>

// A label that shows an image of the bundle by name, at its natural size,
// drawn for the pixel ratio of the screen it is on.
class ImageView : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString image READ image WRITE setImage)
public:
    explicit ImageView(QWidget *parent = nullptr);

    QString image() const { return _image; }
    void setImage(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void renderImage();

    QString _image;
};
