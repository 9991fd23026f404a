#include "AppDelegate.h"

#include <QApplication>
#include <QLineEdit>

namespace {

// A key typed into a text field is text, never a player command.
bool focusTakesText()
{
    return qobject_cast<QLineEdit *>(QApplication::focusWidget()) != nullptr;
}

} // namespace

void AppDelegate::keyDownMonitor(int key, Qt::KeyboardModifiers modifiers, bool isAutoRepeat)
{
    // A held key would toggle many times a second: only the press counts.
    // An open menu takes its own keys.
    if (isAutoRepeat || focusTakesText() || QApplication::activePopupWidget())
        return;
    const Qt::KeyboardModifiers chord = modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (chord != Qt::NoModifier)
        return;
    QWidget *window = view()->window();
    if (key == Qt::Key_Space)
        playPauseButtonClick(nullptr);
    else if (key == Qt::Key_F)
        toggleWindowFullScreen(nullptr);
    else if (key == Qt::Key_Escape && window->isFullScreen())
        toggleWindowFullScreen(nullptr);
}

void AppDelegate::stepVolume(QAbstractSlider::SliderAction step)
{
    // Through the slider, as a hand on it would: the same limits and steps.
    if (_overlay.volumeSlider)
        _overlay.volumeSlider->triggerAction(step);
}

void AppDelegate::volumeUp(QObject *)
{
    stepVolume(QAbstractSlider::SliderPageStepAdd);
}

void AppDelegate::volumeDown(QObject *)
{
    stepVolume(QAbstractSlider::SliderPageStepSub);
}

void AppDelegate::toggleMute(QObject *)
{
    QSlider *slider = _overlay.volumeSlider;
    if (!slider)
        return;
    if (slider->value() > slider->minimum()) {
        _volumeBeforeMute = slider->value();
        muteButtonClick(nullptr);
        return;
    }
    slider->setValue(_volumeBeforeMute);
    volumeSliderValueChanged(nullptr);
}

void AppDelegate::findInPlaylist(QObject *)
{
    if (!_filterTextField)
        return;
    if (!_isPlaylistOpen)
        showPlaylistButtonClick(nullptr);
    QWidget *window = view()->window();
    window->activateWindow();
    _filterTextField->setFocus(Qt::ShortcutFocusReason);
    _filterTextField->selectAll();
}
