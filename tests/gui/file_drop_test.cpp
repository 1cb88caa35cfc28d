// Files dropped on the main window: the drop's own extension rule and its messages.
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "base/messages.h"
#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "gui_support.h"
#include "machine/rom.h"

namespace {

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

void Drop(QWidget* window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint centre = window->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
}

} // namespace

class FileDropTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void mixedCaseExtensionIsUnknown() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const QString tape = WriteFile(ScratchFolder() + "GAME.Tap", QByteArray(30, '\x01'));
        auto said = CloseNextMessage();
        Drop(app->window(), tape);
        QCOMPARE(*said, QString("NoltACE Error|16 - Tape Error: unknown extension"));
        QCOMPARE(LastReportedMessage().code, 22);
    }

    void missingFileIsNotFound() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        auto said = CloseNextMessage();
        Drop(app->window(), ScratchFolder() + "gone.tap");
        QCOMPARE(*said, QString("NoltACE Options|0D - File Error: File not found"));
    }

    void droppedRomLoadsNothing() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const QString rom = WriteFile(ScratchFolder() + "other.ROM", QByteArray(8192, '\x76'));
        Drop(app->window(), rom);
        app->loop().RunFor(0.1);
        QCOMPARE(LastReportedMessage().code, -1);
        QCOMPARE(QString::fromStdString(romState.currentRomName), QString("ACE.ROM"));
        QCOMPARE(app->qtHost().messagesShown(), 0);
    }
};

REGISTER_GUI_SUITE(FileDropTest);
#include "file_drop_test.moc"
