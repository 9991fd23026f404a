#include "OverlayControls.h"

#include "controls/InterfaceFile.h"

#include <QWidget>

namespace {

template <typename Widget> void findOutlet(QWidget *root, const char *name, QPointer<Widget> &field)
{
    field = outlet<Widget>(root, name);
}

} // namespace

OverlayControls OverlayControls::findIn(QWidget *root)
{
    OverlayControls controls;
    // The field's name is the widget's object name.
#define GLAZE_FIND_OUTLET(field) findOutlet(root, #field, controls.field)
    GLAZE_FIND_OUTLET(playPauseButton);
    GLAZE_FIND_OUTLET(muteButton);
    GLAZE_FIND_OUTLET(maxVolumeButton);
    GLAZE_FIND_OUTLET(rewindForwardButton);
    GLAZE_FIND_OUTLET(rewindBackwardButton);
    GLAZE_FIND_OUTLET(spentTimeLabel);
    GLAZE_FIND_OUTLET(remainingTimeLabel);
    GLAZE_FIND_OUTLET(mediaProgressSlider);
    GLAZE_FIND_OUTLET(volumeSlider);
    GLAZE_FIND_OUTLET(showPlaylistButton);
    GLAZE_FIND_OUTLET(mediaName);
    GLAZE_FIND_OUTLET(mediaBackgroundImageView);
    GLAZE_FIND_OUTLET(totalTimeLabel);
#undef GLAZE_FIND_OUTLET
    return controls;
}
