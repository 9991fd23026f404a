#pragma once

#include <QAbstractButton>
#include <QString>

// A button drawn as an image from the resources by name, showing its
// alternate image while it is held down.
class ImageButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QString image READ image WRITE setImage)
    Q_PROPERTY(QString alternateImage READ alternateImage WRITE setAlternateImage)
public:
    explicit ImageButton(QWidget *parent = nullptr);

    QString image() const { return _image; }
    void setImage(const QString &name);
    QString alternateImage() const { return _alternateImage; }
    void setAlternateImage(const QString &name);

    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString _image;
    QString _alternateImage;
};
