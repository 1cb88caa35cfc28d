// The message box, the About box and the Help box as the user sees them.
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/help_quotes.h"
#include "app/qt/application.h"
#include "app/qt/main_window.h"
#include "base/messages.h"
#include "display/qt/display_presenter.h"
#include "gui_support.h"
#include "machine/run_state.h"

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetEmulatorState(); }

    void reportedMessageShowsCaptionAndCode() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        auto said = CloseNextMessage();
        QVERIFY(ReportMessage(kCaptionDisplay, 50));
        QCOMPARE(*said, QString("NoltACE Display|32 - OpenGL: Failed to create OpenGL context"));
        said = CloseNextMessage();
        ReportMessage(kCaptionError, 9);
        QCOMPARE(*said, QString("NoltACE Error|09 - "));
    }

    void aboutBoxNamesTheVersion() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const int presentedBefore = app->window()->presenter().presentedFrames();
        QString title, text;
        QRect button, client, label;
        int neededHeight = 0;
        AnswerNextModal([&](QWidget* modal) {
            title = modal->windowTitle();
            auto* textLabel = modal->findChild<QLabel*>("aboutText");
            text = textLabel->text();
            label = textLabel->geometry();
            neededHeight = textLabel->heightForWidth(label.width());
            auto* ok = modal->findChild<QPushButton*>("aboutOk");
            button = ok->geometry();
            client = modal->rect();
            ok->click();
        });
        app->window()->actions().about->trigger();
        QCOMPARE(title, QString("NoltACE v1.06"));
        QVERIFY(text.startsWith("Version 1.06"));
        QVERIFY(text.endsWith("The FORTH Is Strong In This Emulator"));
        // Sized to its text: the wrapped text, last line included, fits above the button.
        QCOMPARE(client.width(), 375);
        QVERIFY(client.height() >= 228);
        QVERIFY2(label.height() >= neededHeight, qPrintable(QString("%1 < %2").arg(label.height()).arg(neededHeight)));
        QVERIFY(label.bottom() < button.top());
        QCOMPARE(client.bottom() - button.bottom(), 5);
        QVERIFY(qAbs(button.center().x() - client.center().x()) <= 1);
        QVERIFY(app->window()->presenter().presentedFrames() > presentedBefore);
    }

    void helpShowsOneOfTheQuotations() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        QString title, text, keys;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            keys = box->informativeText();
            QCOMPARE(box->buttons().size(), 1);
            box->button(QMessageBox::Ok)->click();
        });
        app->window()->actions().help->trigger();
        QCOMPARE(title, QString("Help"));
        bool known = false;
        for (int i = 0; i < kHelpQuoteCount; ++i)
            known |= text == HelpQuote(i);
        QVERIFY2(known, qPrintable(text));
        // Below it, the PC keys for the Ace's keys that no character types.
        QVERIFY2(keys.contains("Insert:  GRAPHICS") && keys.contains("End:  DELETE LINE"), qPrintable(keys));
    }

    void everyCommandIsBuilt() {
        REQUIRE_GUI_TEST_ROM();
        auto app = StartApplication();
        QVERIFY(app);
        const MainMenuActions& a = app->window()->actions();
        for (QAction* action : {a.debugger, a.calculator, a.pcLogging, a.pcLogOneFrame, a.saveScreenshot})
            QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
        // PC Logging stays on until switched off; PC log One frame is done when it is done.
        QVERIFY(a.pcLogging->isCheckable());
        QVERIFY(!a.pcLogOneFrame->isCheckable());
    }
};

REGISTER_GUI_SUITE(DialogsTest);
#include "dialogs_test.moc"
