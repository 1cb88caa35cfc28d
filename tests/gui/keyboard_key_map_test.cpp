// Qt key events into PC key codes, and on through the keyboard handlers into the
// Ace's keys.
#include <QKeyEvent>
#include <QTest>

#include <initializer_list>

#include "app/key_queue.h"
#include "app/keyboard.h"
#include "app/qt/qt_key_map.h"
#include "app/virtual_keys.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "machine/rom_keyboard.h"
#include "tape/spool.h"

namespace {

QString Show(const QtKeyRoute& r) {
    return QString("vk %1 shifted %2 symbol %3").arg(r.virtualKey).arg(r.shiftedForm).arg(r.symbolKey);
}
QString Route(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 scan = 0) {
    return Show(RouteForQtKey(key, mods, scan));
}
QString Plain(int vk) {
    return Show({vk, -1, -1});
}
QString None() {
    return Show({});
}

const AceKey kA = AceLetterKey('A'), kK = AceLetterKey('K'), kL = AceLetterKey('L'), kP = AceLetterKey('P');
const AceKey kO = AceLetterKey('O'), kZ = AceLetterKey('Z');

// The matrix holds exactly these keys.
bool Only(std::initializer_list<AceKey> keys) {
    uint8_t expected[8];
    std::fill(std::begin(expected), std::end(expected), 0xFF);
    for (AceKey k : keys)
        expected[k.row] &= uint8_t(~k.Mask());
    return std::equal(std::begin(expected), std::end(expected), machine.keyMatrix);
}

} // namespace

class KeyboardKeyMapTest : public QObject {
    Q_OBJECT

    QtKeyboardInput input;

    void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 scan = 0, bool repeat = false) {
        input.KeyPressed(QKeyEvent(QEvent::KeyPress, key, mods, scan, 0, 0, QString(), repeat));
    }
    void Release(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 scan = 0,
                 bool repeat = false) {
        input.KeyReleased(QKeyEvent(QEvent::KeyRelease, key, mods, scan, 0, 0, QString(), repeat));
    }
    // Runs the key queue through the frames that let every waiting event reach the
    // matrix (no ROM runs here to show a key taken: the pacer's bounds decide).
    static void Settle() {
        for (int i = 0; i < RomKeyPacer::kMaxHoldFrames + RomKeyPacer::kMaxGapFrames; ++i)
            KeyQueueFrameEnded();
    }

  private slots:
    void init() {
        ResetKeyboard();
        spool.spoolActive = false;
        input.ForgetHeldKeys();
    }
    void cleanup() { ResetKeyboard(); }

    void oneToOneKeys() {
        QCOMPARE(Route(Qt::Key_A), Plain('A'));
        QCOMPARE(Route(Qt::Key_Z, Qt::ShiftModifier), Plain('Z'));
        QCOMPARE(Route(Qt::Key_P, Qt::ControlModifier), Plain('P'));
        QCOMPARE(Route(Qt::Key_0), Plain('0'));
        QCOMPARE(Route(Qt::Key_7), Plain('7'));
        QCOMPARE(Route(Qt::Key_Space), Plain(vk::kSpace));
        QCOMPARE(Route(Qt::Key_Return), Plain(vk::kReturn));
        QCOMPARE(Route(Qt::Key_Enter, Qt::KeypadModifier), Plain(vk::kReturn));
        QCOMPARE(Route(Qt::Key_Shift), Plain(vk::kShift));
        QCOMPARE(Route(Qt::Key_Control), Plain(vk::kControl));
        QCOMPARE(Route(Qt::Key_Backspace), Plain(vk::kBackspace));
        QCOMPARE(Route(Qt::Key_Delete), Plain(vk::kDelete));
        QCOMPARE(Route(Qt::Key_Left), Plain(vk::kLeft));
        QCOMPARE(Route(Qt::Key_Up), Plain(vk::kUp));
        QCOMPARE(Route(Qt::Key_Right), Plain(vk::kRight));
        QCOMPARE(Route(Qt::Key_Down), Plain(vk::kDown));
        QCOMPARE(Route(Qt::Key_F1), Plain(0x70));
        QCOMPARE(Route(Qt::Key_F12), Plain(0x7B));
        QCOMPARE(Route(Qt::Key_Escape), Plain(vk::kEscape));
        QCOMPARE(Route(Qt::Key_unknown), None());
        QCOMPARE(Route(Qt::Key_Eacute), None());
    }

    void numericPad() {
        for (int d = 0; d <= 9; ++d)
            QCOMPARE(Route(Qt::Key_0 + d, Qt::KeypadModifier), Plain(0x60 + d));
        QCOMPARE(Route(Qt::Key_Asterisk, Qt::KeypadModifier), Plain(vk::kPadMultiply));
        QCOMPARE(Route(Qt::Key_Plus, Qt::KeypadModifier), Plain(vk::kPadAdd));
        QCOMPARE(Route(Qt::Key_Minus, Qt::KeypadModifier), Plain(vk::kPadSubtract));
        QCOMPARE(Route(Qt::Key_Period, Qt::KeypadModifier), Plain(vk::kPadDecimal));
        QCOMPARE(Route(Qt::Key_Comma, Qt::KeypadModifier), Plain(vk::kPadDecimal));
        QCOMPARE(Route(Qt::Key_Slash, Qt::KeypadModifier), Plain(vk::kPadDivide));
        // Num Lock off: the pad's navigation keys.
        QCOMPARE(Route(Qt::Key_Home, Qt::KeypadModifier), Plain(vk::kHome));
        QCOMPARE(Route(Qt::Key_Up, Qt::KeypadModifier), Plain(vk::kUp));
    }

    void digitRowGoesByPositionWhateverItTypes() {
        // X11 key codes 10-19 are 1-9 and 0; Shift+2 is '@' on one layout, '"' on another.
        QCOMPARE(Route(Qt::Key_Exclam, Qt::ShiftModifier, 10), Plain('1'));
        QCOMPARE(Route(Qt::Key_At, Qt::ShiftModifier, 11), Plain('2'));
        QCOMPARE(Route(Qt::Key_QuoteDbl, Qt::ShiftModifier, 11), Plain('2'));
        QCOMPARE(Route(Qt::Key_ParenRight, Qt::ShiftModifier, 19), Plain('0'));
        QCOMPARE(Route(Qt::Key_Ampersand, Qt::NoModifier, 10), Plain('1')); // AZERTY's unshifted 1
        QCOMPARE(Route(Qt::Key_5, Qt::KeypadModifier, 84), Plain(0x65));
        QCOMPARE(Route(Qt::Key_A, Qt::NoModifier, 38), Plain('A'));
    }

    void symbolsNameTheirUkKeyAndTheirAceKey_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("vk");
        QTest::addColumn<int>("shifted");
        QTest::addColumn<int>("symbolKey");
        const struct {
            const char* name;
            int qtKey, vk, shifted, symbolKey;
        } rows[] = {
            {";", Qt::Key_Semicolon, 0xBA, 0, 'O'},    {":", Qt::Key_Colon, 0xBA, 1, 'Z'},
            {"=", Qt::Key_Equal, 0xBB, 0, 'L'},        {"+", Qt::Key_Plus, 0xBB, 1, 'K'},
            {",", Qt::Key_Comma, 0xBC, 0, 'N'},        {"<", Qt::Key_Less, 0xBC, 1, 'R'},
            {"-", Qt::Key_Minus, 0xBD, 0, 'J'},        {"_", Qt::Key_Underscore, 0xBD, 1, '0'},
            {".", Qt::Key_Period, 0xBE, 0, 'M'},       {">", Qt::Key_Greater, 0xBE, 1, 'T'},
            {"/", Qt::Key_Slash, 0xBF, 0, 'V'},        {"?", Qt::Key_Question, 0xBF, 1, 'C'},
            {"'", Qt::Key_Apostrophe, 0xC0, 0, '7'},   {"@", Qt::Key_At, 0xC0, 1, '2'},
            {"[", Qt::Key_BracketLeft, 0xDB, 0, 'Y'},  {"{", Qt::Key_BraceLeft, 0xDB, 1, 'F'},
            {"\\", Qt::Key_Backslash, 0xDC, 0, 'D'},   {"|", Qt::Key_Bar, 0xDC, 1, 'S'},
            {"]", Qt::Key_BracketRight, 0xDD, 0, 'U'}, {"}", Qt::Key_BraceRight, 0xDD, 1, 'G'},
            {"#", Qt::Key_NumberSign, 0xDE, 0, '3'},   {"~", Qt::Key_AsciiTilde, 0xDE, 1, 'A'},
            {"!", Qt::Key_Exclam, -1, -1, '1'},        {"\"", Qt::Key_QuoteDbl, -1, -1, 'P'},
            {"$", Qt::Key_Dollar, -1, -1, '4'},        {"%", Qt::Key_Percent, -1, -1, '5'},
            {"^", Qt::Key_AsciiCircum, -1, -1, 'H'},   {"&", Qt::Key_Ampersand, -1, -1, '6'},
            {"*", Qt::Key_Asterisk, -1, -1, 'B'},      {"(", Qt::Key_ParenLeft, -1, -1, '8'},
            {")", Qt::Key_ParenRight, -1, -1, '9'},    {"pound", Qt::Key_sterling, -1, -1, 'X'},
            {"`", Qt::Key_QuoteLeft, -1, -1, 'X'},
        };
        for (const auto& r : rows)
            QTest::newRow(r.name) << r.qtKey << r.vk << r.shifted << r.symbolKey;
    }
    void symbolsNameTheirUkKeyAndTheirAceKey() {
        QFETCH(int, qtKey);
        QFETCH(int, vk);
        QFETCH(int, shifted);
        QFETCH(int, symbolKey);
        QCOMPARE(Route(qtKey), Show({vk, shifted, symbolKey}));
    }

    void shiftedSymbolWithoutShiftTypesThroughSymbolShift() {
        // A synthetic '+' (no Shift key went down first): SYMBOL SHIFT + K, not '='.
        Press(Qt::Key_Plus);
        QVERIFY(Only({kAceSymbolShift, kK}));
        QVERIFY(!symbolHeld); // the PC's Ctrl is not down
        Release(Qt::Key_Plus);
        Settle();
        QVERIFY(Only({}));
    }

    void realShiftUsesTheSymbolKeyTable() {
        Press(Qt::Key_Shift, Qt::ShiftModifier, 50);
        Press(Qt::Key_Plus, Qt::ShiftModifier, 21); // Shift + '=' on a UK or US keyboard
        QVERIFY(Only({kAceShift, kAceSymbolShift, kK}));
        // Shift let go first: the release reads as '=' but undoes what '+' pressed.
        Release(Qt::Key_Shift, Qt::NoModifier, 50);
        Release(Qt::Key_Equal, Qt::NoModifier, 21);
        Settle();
        QVERIFY(Only({}));
    }

    void unshiftedSymbolUnderShiftPutsShiftBack() {
        // A layout where ';' needs Shift: typed as SYMBOL SHIFT + O, the character deciding
        // SHIFT; the Ace's SHIFT comes back afterwards because the PC's Shift is still held.
        Press(Qt::Key_Shift, Qt::ShiftModifier, 50);
        Press(Qt::Key_Semicolon, Qt::ShiftModifier, 59);
        QVERIFY(Only({kAceSymbolShift, kO}));
        Release(Qt::Key_Semicolon, Qt::ShiftModifier, 59);
        Settle();
        QVERIFY(Only({kAceShift}));
        QVERIFY(shiftHeld);
        Press(Qt::Key_A, Qt::ShiftModifier, 38);
        QVERIFY(Only({kAceShift, kA}));
    }

    void ctrlHeldIsNotReleasedByASymbol() {
        Press(Qt::Key_Control, Qt::ControlModifier, 37);
        Press(Qt::Key_QuoteDbl, Qt::ControlModifier);
        QVERIFY(Only({kAceSymbolShift, kP}));
        Release(Qt::Key_QuoteDbl, Qt::ControlModifier);
        Settle();
        QVERIFY(Only({kAceSymbolShift}));
        QVERIFY(symbolHeld);
        Release(Qt::Key_Control, Qt::NoModifier, 37);
        QVERIFY(Only({}));
    }

    void autoRepeatKeepsTheKeyDown() {
        Press(Qt::Key_L, Qt::NoModifier, 46);
        Release(Qt::Key_L, Qt::NoModifier, 46, true);
        QVERIFY(Only({kL}));
        Press(Qt::Key_L, Qt::NoModifier, 46, true);
        QVERIFY(Only({kL}));
        Release(Qt::Key_L, Qt::NoModifier, 46);
        Settle();
        QVERIFY(Only({}));
    }

    void releaseOfAKeyPressedElsewhereStillReleases() {
        PressAceKey(kZ);
        Release(Qt::Key_Z);
        QVERIFY(Only({}));
        QVERIFY(!input.KeyReleased(QKeyEvent(QEvent::KeyRelease, Qt::Key_Eacute, Qt::NoModifier)));
    }

    void digitRowUnderShiftIsTheAceShiftedDigit() {
        Press(Qt::Key_Shift, Qt::ShiftModifier, 50);
        Press(Qt::Key_ParenRight, Qt::ShiftModifier, 19); // Shift+0: DELETE on the Ace
        QVERIFY(Only({kAceShift, AceDigitKey(0)}));
    }

    void ignoredWhileASpoolTypes() {
        spool.spoolActive = true;
        Press(Qt::Key_Plus);
        QVERIFY(Only({}));
        spool.spoolActive = false;
    }
};

REGISTER_GUI_SUITE(KeyboardKeyMapTest);
#include "keyboard_key_map_test.moc"
