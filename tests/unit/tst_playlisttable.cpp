// The playlist panel and its table on the stand-in engine: removal, playing a
// row and toggling the panel while a filter is set, what a row shows and reads
// out, the one cell that draws every row, and the table's own scroller.
#include "PlaybackApp.h"
#include "controls/CustomScroller.h"
#include "playlist/PathComponents.h"
#include "playlist/PlaylistCell.h"
#include "playlist/PlaylistModel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFileDialog>
#include <QIcon>
#include <QRegularExpression>
#include <QtTest>

namespace {

QStringList namesOf(const MediaListRef &list)
{
    QStringList names;
    for (const MediaEntry &entry : *list)
        names.append(PathComponents::baseName(entry->path));
    return names;
}

} // namespace

// A table row: the state before, the action, and the state after.
struct PanelCase {
    QString filter;
    int current;  // full-list index playing; -1: none
    int selected; // visible row; -1: none
    QString action;
    QString entries; // names afterwards
    QString visible;
    QString playing; // the current entry afterwards, playing; empty: none
    int selectedAfter;
};
Q_DECLARE_METATYPE(PanelCase)

class PlaylistTableTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PlaybackApp> app;
    AppDelegate *d = nullptr;

    QTableView *table() const { return app->access().playlistTableView(); }
    int selectedRow() const
    {
        const QModelIndexList rows = table()->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    void openPanel()
    {
        d->showPlaylistButtonClick();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    void append(const QString &path, VLCTime length, MediaPreview preview = nullptr)
    {
        app->access().playlist().append(
            std::make_shared<PlaylistEntry>(PlaylistEntry{path, length}), std::move(preview));
    }

private slots:
    void init()
    {
        app = std::make_unique<PlaybackApp>();
        QVERIFY(app->launch());
        d = app->appDelegate;
    }
    void cleanup() { app.reset(); }

    void panelActionsWithAndWithoutFilter_data()
    {
        QTest::addColumn<PanelCase>("c");
        const QString all = "alpha beta gamma alphabet";
        QTest::addRow("removing an entry before the current keeps it playing")
            << PanelCase{"", 2, 0, "remove button", "beta gamma alphabet", "", "gamma", 0};
        QTest::addRow("removing an entry after the current leaves it playing")
            << PanelCase{"", 0, 2, "remove button", "alpha beta alphabet", "", "alpha", 2};
        QTest::addRow("removing the current entry stops playback")
            << PanelCase{"", 1, 1, "remove button", "alpha gamma alphabet", "", "", 1};
        QTest::addRow("removing with a filter set keeps the filter and the current entry")
            << PanelCase{"alpha", 1, 1, "remove button", "alpha beta gamma", "alpha", "beta", -1};
        QTest::addRow("Delete removes the selected row")
            << PanelCase{"", -1, 0, "Delete", "beta gamma alphabet", "", "", 0};
        QTest::addRow("Backspace removes the selected row")
            << PanelCase{"", -1, 1, "Backspace", "alpha gamma alphabet", "", "", 1};
        QTest::addRow("Delete of the last row leaves nothing selected")
            << PanelCase{"", -1, 3, "Delete", "alpha beta gamma", "", "", -1};
        QTest::addRow("Delete with nothing selected removes nothing")
            << PanelCase{"", 0, -1, "Delete", all, "", "alpha", -1};
        QTest::addRow("double-click with a filter plays that entry and keeps its row selected")
            << PanelCase{"alpha", 1, 1, "double-click", all, "alpha alphabet", "alphabet", 1};
        QTest::addRow("Enter plays the selected row")
            << PanelCase{"", 0, 2, "Enter", all, "", "gamma", 2};
        QTest::addRow("opening the panel selects the current row")
            << PanelCase{"", 2, -1, "open", all, "", "gamma", 2};
        QTest::addRow("opening with no current entry selects nothing")
            << PanelCase{"", -1, -1, "open", all, "", "", -1};
        QTest::addRow("opening with the current entry filtered out selects nothing")
            << PanelCase{"alpha", 1, -1, "open", all, "alpha alphabet", "beta", -1};
        QTest::addRow("two toggles restore the layout and leave the selection")
            << PanelCase{"", 2, -1, "open and close", all, "", "gamma", 2};
        QTest::addRow("typing a filter leaves the selected row selected")
            << PanelCase{"", 0, 1, "type ph", all, "alpha alphabet", "alpha", 1};
        QTest::addRow("a filter that leaves fewer rows drops the selection")
            << PanelCase{"", 0, 3, "type ph", all, "alpha alphabet", "alpha", -1};
    }
    void panelActionsWithAndWithoutFilter()
    {
        QFETCH(PanelCase, c);
        for (const char *name : {"alpha.mp4", "beta.mp4", "gamma.mp4", "alphabet.mp4"})
            app->add(name, 10000);
        if (c.current >= 0)
            QVERIFY(app->loadAndPlay(c.current));
        const bool toggles = c.action.startsWith("open");
        if (!toggles)
            openPanel();
        QLineEdit *field = app->access().filterTextField();
        field->setText(c.filter);
        emit field->textEdited(c.filter);
        table()->selectionModel()->clear();
        if (c.selected >= 0)
            table()->selectionModel()->setCurrentIndex(table()->model()->index(c.selected, 0),
                                                       QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
        QApplication::setActiveWindow(app->mainWindow());
        table()->setFocus();

        QString filterAfter = c.filter;
        if (c.action.startsWith("type ")) {
            filterAfter = c.action.mid(5);
            field->setText(filterAfter);
            emit field->textEdited(filterAfter);
        } else if (c.action == "remove button") {
            app->mainWindow()->findChild<QAbstractButton *>("removeMediaButton")->click();
        } else if (c.action == "double-click") {
            const QRect row = table()->visualRect(table()->model()->index(c.selected, 0));
            // As a hand makes it: a click, then the second press, which Qt sends as the
            // double-click.
            QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, row.center());
            QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, row.center());
            QTest::mouseRelease(table()->viewport(), Qt::LeftButton, {}, row.center());
        } else if (toggles) {
            openPanel();
            if (c.action == "open and close")
                d->showPlaylistButtonClick();
        } else {
            const int key = c.action == "Delete"      ? Qt::Key_Delete
                            : c.action == "Backspace" ? Qt::Key_Backspace
                                                      : Qt::Key_Return;
            QTest::keyClick(table(), Qt::Key(key));
        }

        QCOMPARE(namesOf(d->mediaPlaylist()).join(' '), c.entries);
        QCOMPARE(namesOf(app->access().visibleMediaPlaylist()).join(' '),
                 c.visible.isEmpty() ? c.entries : c.visible);
        QCOMPARE(field->text(), filterAfter);
        QCOMPARE(PathComponents::baseName(app->currentPath()), c.playing);
        QCOMPARE(d->isPlaying(), !c.playing.isEmpty());
        QCOMPARE(selectedRow(), c.selectedAfter);
        // The video and the overlay leave the panel its strip while it is open.
        const bool open = c.action != "open and close";
        QCOMPARE(d->isPlaylistOpen(), open);
        QRect frame = d->mainWindowFrame();
        frame.setWidth(frame.width() - (open ? d->playlistView()->width() : 0));
        QCOMPARE(d->userInterfaceWindow()->geometry(), frame);
        QCOMPARE(d->mediaView()->geometry(), QRect(QPoint(0, 0), frame.size()));
    }

    void rowShowsNameDetailsLocationAndPreview_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("lengthMs"); // -1: never known
        QTest::addColumn<bool>("hasPreview");
        QTest::addColumn<QStringList>("texts"); // name, details, location
        QTest::addRow("a video with its length, the folder as its URL writes it")
            << "/Media/My Films/clip.mp4" << 62000 << true
            << QStringList{"clip", "MP4, 01:02", "/Media/My%20Films"};
        QTest::addRow("a length never known shows the extension alone")
            << "/Music/song.mp3" << -1 << false << QStringList{"song", "MP3", "/Music"};
        QTest::addRow("a zero length too, and only the last extension goes")
            << "/a.b/c.d.ogg" << 0 << false << QStringList{"c.d", "OGG", "/a.b"};
    }
    void rowShowsNameDetailsLocationAndPreview()
    {
        QFETCH(QString, path);
        QFETCH(int, lengthMs);
        QFETCH(bool, hasPreview);
        QFETCH(QStringList, texts);
        QImage image(80, 45, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        append("/first.mkv", VLCTime(1000));
        append(path, lengthMs < 0 ? VLCTime() : VLCTime(lengthMs),
               hasPreview ? std::make_shared<const QImage>(image) : nullptr);
        d->dropFilter();
        openPanel();

        PlaylistCell *cell = d->tableViewViewForTableColumnRow(table(), 0, 1);
        QVERIFY(cell);
        QCOMPARE(QStringList({cell->mediaName()->text(), cell->details()->text(),
                              cell->location()->text()}),
                 texts);
        const QImage shown = cell->preview()->pixmap().toImage().convertToFormat(image.format());
        const QImage expected = hasPreview ? image
                                           : QIcon(":/images/background_icon.svg")
                                                 .pixmap(cell->preview()->size(), 1.0)
                                                 .toImage()
                                                 .convertToFormat(image.format());
        QCOMPARE(shown, expected);
        // Assistive technology reads the same three texts for the row.
        QAccessibleInterface *tableInterface = QAccessible::queryAccessibleInterface(table());
        QVERIFY(tableInterface && tableInterface->tableInterface());
        QCOMPARE(tableInterface->tableInterface()->cellAt(1, 0)->text(QAccessible::Name),
                 texts.join(", "));
    }

    void oneCellDrawsEveryRow()
    {
        QImage image(80, 45, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (int i = 0; i < 300; ++i)
            append(QStringLiteral("/m/clip %1.mkv").arg(i), VLCTime(1000 * i),
                   i % 2 ? nullptr : std::make_shared<const QImage>(image));
        d->dropFilter();
        openPanel();
        const qsizetype widgets = table()->findChildren<QWidget *>().size();
        const QImage top = table()->viewport()->grab().toImage();
        table()->scrollToBottom();
        const QImage bottom = table()->viewport()->grab().toImage();

        // Rows are as tall as the cell, drawn by it with their previews.
        PlaylistCell *cell = d->tableViewViewForTableColumnRow(table(), 0, 0);
        QCOMPARE(table()->rowHeight(299), cell->height());
        QCOMPARE(d->tableViewViewForTableColumnRow(table(), 0, 299), cell);
        const QPoint previewCentre = cell->preview()->geometry().center();
        QCOMPARE(top.pixelColor(previewCentre), QColor(Qt::red));
        QVERIFY(top.pixelColor(previewCentre + QPoint(0, cell->height())) != QColor(Qt::red));
        QVERIFY(bottom != top);
        // Drawing them made no widget.
        QCOMPARE(table()->findChildren<QWidget *>().size(), widgets);
        const QWidgetList all = QApplication::allWidgets();
        QCOMPARE(std::count_if(all.cbegin(), all.cend(),
                               [](QWidget *widget) { return widget->inherits("PlaylistCell"); }),
                 1);
    }

    void tableScrollsWithTheInterfaceFilesScroller()
    {
        for (int i = 0; i < 50; ++i)
            append(QStringLiteral("/m/song %1.mp3").arg(i), VLCTime(1000));
        d->dropFilter();
        openPanel();
        auto *scroller = qobject_cast<CustomScroller *>(table()->verticalScrollBar());
        QVERIFY(scroller);
        QCOMPARE(scroller->objectName(), QStringLiteral("playlistScroller"));
        QVERIFY(scroller->isVisible());
        // Below the knob, at the top of the list, the file's colour.
        const QImage image = scroller->grab().toImage();
        QCOMPARE(image.pixelColor(scroller->width() / 2, scroller->height() - 2),
                 scroller->ScrollColor());
    }

    void panelControlsReadOutWhatTheyDo()
    {
        for (QWidget *control : d->playlistView()->findChildren<QWidget *>()) {
            if (!control->focusPolicy() || control->isHidden())
                continue;
            const QString name =
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            // A sign such as "+" or "−" tells a listener nothing.
            QVERIFY2(name.contains(QRegularExpression("\\w{3}")),
                     qPrintable(control->objectName()));
        }
    }

    void addButtonRunsTheOpenPanel()
    {
        QString title;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto *panel = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                title = panel->windowTitle();
                panel->reject();
            }
        });
        closer.start(10);
        app->mainWindow()->findChild<QAbstractButton *>("addMediaButton")->click();
        QCOMPARE(title, QStringLiteral("Add to Playlist"));
        QVERIFY(d->mediaPlaylist()->isEmpty());
    }
};

QTEST_MAIN(PlaylistTableTest)
#include "tst_playlisttable.moc"
