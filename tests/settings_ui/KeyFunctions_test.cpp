// Keyboard capture from key events, the key-function and multi-function dialogs with every
// kind of function, and the express-key page on a real model's layout.
#include "settings/logic/NVEkeyText.h"
#include "settings/ui/NVKeyboardCapture.h"
#include "settings/ui/NVMouseImageView.h"
#include "settings/ui/VControllerEkey.h"
#include "settings/ui/VControllerEkeyVal.h"
#include "settings/ui/VControllerNewEkeyVal.h"

#include "core/channel/NVNotificationNames.h"
#include "core/model/NVText.h"
#include "tests/settings_ui/KeyPages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <linux/input-event-codes.h>

namespace {

constexpr quint32 kXOffset = 8; // X key codes are evdev codes + 8

void press(QWidget& target, int qtKey, quint32 evdev, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, qtKey, mods, evdev + kXOffset, 0, 0);
    QApplication::sendEvent(&target, &down);
}

template <class W>
W* child(QWidget& parent, const char* outlet)
{
    W* w = parent.findChild<W*>(outlet);
    EXPECT_NE(w, nullptr) << outlet;
    return w;
}

void move_to(QWidget& view, QPoint p, QEvent::Type type = QEvent::MouseMove)
{
    QMouseEvent e(type, p, view.mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &e);
}

class KeyFunctions : public KeyPagesTest {};

} // namespace

TEST_F(KeyFunctions, KeyEventsBecomeShortcutsThroughTheEvdevTable)
{
    const QKeyEvent c(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier | Qt::MetaModifier, KEY_C + kXOffset, 0, 0);
    const auto s = NVKeyboardCapture::shortcutWithEvent(c);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->keyCode, 8);
    EXPECT_EQ(s->description4Save(), "1310720-8");
    const QKeyEvent noScanCode(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, 0, 0, 0);
    EXPECT_FALSE(NVKeyboardCapture::shortcutWithEvent(noScanCode));
    const QKeyEvent unmapped(QEvent::KeyPress, Qt::Key_Print, Qt::NoModifier, KEY_PRINT + kXOffset, 0, 0);
    EXPECT_FALSE(NVKeyboardCapture::shortcutWithEvent(unmapped));
}

TEST_F(KeyFunctions, ASingleListenerRecordsTakesKeysAwayAndKnowsTheWindowsShortcuts)
{
    NVKeyboardCapture capture;
    QWidget window;
    auto* quit = new QAction(&window);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    window.addAction(quit);
    window.show();
    EXPECT_TRUE(NVShortcut::shortcutWithKeyCode(12, NV_MOD_CONTROL).hasRegistered());
    EXPECT_FALSE(NVShortcut::shortcutWithKeyCode(12, NV_MOD_SHIFT).hasRegistered());

    auto hotkey = NVKeyboardListener::CreateInstanceWithSingleKey();
    std::string text;
    hotkey->onUpdateText = [&](const std::string& t) { text = t; };
    hotkey->onShortcutChanged = [](const NVShortcut&) { return true; };
    hotkey->hasShortcutRegistered = [](const NVShortcut& s) { return s.hasRegistered(); };
    hotkey->startListenKeyboard();
    press(window, Qt::Key_Shift, KEY_LEFTSHIFT, Qt::ShiftModifier); // a modifier alone
    EXPECT_TRUE(hotkey->KeyEvents().empty());
    press(window, Qt::Key_Q, KEY_Q, Qt::ControlModifier); // the window's own
    EXPECT_TRUE(hotkey->KeyEvents().empty());
    press(window, Qt::Key_F1, KEY_F1, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(hotkey->KeyEvents().size(), 1u);
    EXPECT_EQ(text, "\u2303\u2325F1");
    hotkey->stopListenKeyboard();
    press(window, Qt::Key_A, KEY_A);
    EXPECT_EQ(hotkey->KeyEvents().size(), 1u);
}

TEST_F(KeyFunctions, MultiFunctionDialogRecordsKeysAndRefusesASeventeenth)
{
    connect("NUVRO_TA53");
    NVKeyboardCapture capture;
    NVEkey record{};
    record.funcBit = 0x10 | 0x400; // left button and a kind no dialog knows
    record.funcEvent = 3;
    nv_copy_to_buffer(record.name, "Old");
    VControllerNewEkeyVal dialog;
    dialog.setPekey(&record);
    dialog.show();
    auto* keys = child<QLineEdit>(dialog, "textHotkeys");
    child<QCheckBox>(dialog, "_chkCtrl")->click();
    dialog.clickHotKeyTextField();
    press(dialog, Qt::Key_A, KEY_A, Qt::ControlModifier);
    press(dialog, Qt::Key_Control, KEY_LEFTCTRL, Qt::ControlModifier);
    press(dialog, Qt::Key_C, KEY_C, Qt::ControlModifier);
    EXPECT_EQ(keys->text(), QString::fromUtf8("\u2303 A C"));
    for (int i = 0; i < 15; ++i)
        press(dialog, Qt::Key_1, KEY_1);
    EXPECT_EQ(dialog.keyboardListener().KeyEvents().size(), 16u);
    EXPECT_FALSE(child<QLabel>(dialog, "_labelMax")->text().isEmpty()) << "the refused key is said";
    const QString shown = keys->text();
    press(dialog, Qt::Key_2, KEY_2);
    EXPECT_EQ(keys->text(), shown);

    child<QLineEdit>(dialog, "textFuncName")->setText("Copy");
    child<QPushButton>(dialog, "_btnOk")->click();
    EXPECT_EQ(record.funcBit, 0x04u | 0x10u | 0x400u);
    EXPECT_EQ(record.funcEvent, 0u);
    EXPECT_EQ(record.kbtn.bCtrl, 1);
    EXPECT_EQ(record.kbtn.kbKeys[0], 255) << "the A key is stored as 255";
    EXPECT_EQ(record.kbtn.kbKeys[1], 8);
    EXPECT_EQ(record.kbtn.kbKeys[15], 0x12);
    EXPECT_STREQ(record.name, "Copy");

    // Opened again, the A key is still there and survives a second OK.
    VControllerNewEkeyVal again;
    again.setPekey(&record);
    EXPECT_EQ(again.keyboardListener().KeyEvents().size(), 16u);
    EXPECT_EQ(again.keyboardListener().KeyEvents()[0].keyCode, 0);
    again.clickBtnOk();
    EXPECT_EQ(record.kbtn.kbKeys[0], 255);
}

TEST_F(KeyFunctions, KeyFunctionDialogEditsEveryKind)
{
    connect("NUVRO_TA53");
    NVEkey record{};
    record.funcEvent = 2;
    record.funcBit = 0x200; // the function-set switch, which this dialog does not edit
    VControllerEkeyVal dialog;
    dialog.setPekey(&record);
    auto* key = child<QComboBox>(dialog, "_pbtnKey");
    child<QCheckBox>(dialog, "_chkCtrl")->click();
    key->setCurrentIndex(2); // C
    dialog.clickBtnKey(2);
    EXPECT_EQ(dialog.workingCopy().funcBit & 0x04, 0x04u);
    dialog.clickMatrixMouse(3);
    dialog.clickMatrixMouse(1); // one mouse function at a time
    dialog.clickMatrixSwitch(1);
    chosenFile = "/usr/share/applications/My Editor.desktop";
    child<QPushButton>(dialog, "_btnBrowser")->click();
    EXPECT_EQ(child<QLabel>(dialog, "_labelRunPath")->text(), chosenFile);
    child<QPushButton>(dialog, "_btnOk")->click();
    EXPECT_EQ(record.funcBit, 0x200u | 0x04u | 0x20u | 0x02u | 0x08u);
    EXPECT_EQ(record.funcEvent, 2u) << "this dialog keeps the event";
    EXPECT_EQ(record.kbtn.bCtrl, 1);
    EXPECT_EQ(record.kbtn.kbKeys[0], 8);
    EXPECT_EQ(string_from_ekey(record, {"L", "M", "R", "F", "B", "S", "Br", "Set"}),
              "\u2303 C M /usr/share/applications/My Editor.desktopBrSet");

    // Unchecking a function box takes its kinds away; Cancel keeps the record.
    VControllerEkeyVal second;
    second.setPekey(&record);
    child<QCheckBox>(second, "_checkFuncMouse")->click();
    child<QCheckBox>(second, "_checkFuncRun")->click();
    EXPECT_EQ(second.workingCopy().funcBit, 0x200u | 0x04u | 0x02u);
    EXPECT_EQ(second.workingCopy().cmdPath[0], '\0');
    child<QPushButton>(second, "_btnCancel")->click();
    EXPECT_EQ(record.funcBit & 0x08, 0x08u);
}

TEST_F(KeyFunctions, KeyStringsStopAtSixteenWithAWordAndOneKeyClearsAFormerString)
{
    connect("NUVRO_TA53");
    NVEkey record{};
    VControllerEkeyVal dialog;
    dialog.setPekey(&record);
    child<QComboBox>(dialog, "_pbtnKey")->setCurrentIndex(27); // 1
    auto* limit = child<QLabel>(dialog, "_labelMax");
    for (int i = 0; i < 16; ++i)
        dialog.clickBtnJoin();
    EXPECT_TRUE(limit->text().isEmpty());
    dialog.clickBtnJoin();
    EXPECT_EQ(limit->text(), qtTrId("str_EKV_string_limit"));
    EXPECT_EQ(child<QLabel>(dialog, "_labelStr")->text().count(", "), 16);
    EXPECT_EQ(dialog.workingCopy().kbtn.kbKeys[15], 18);

    dialog.clickBtnKey(0); // A alone
    EXPECT_EQ(dialog.workingCopy().kbtn.kbKeys[0], 255);
    for (int i = 1; i < NV_KBKEYS_MAX; ++i)
        EXPECT_EQ(dialog.workingCopy().kbtn.kbKeys[i], 0) << i;
    dialog.clickBtnClearStr();
    EXPECT_EQ(dialog.workingCopy().kbtn.kbKeys[0], 0);
}

TEST_F(KeyFunctions, APathTooLongForTheRecordIsRefused)
{
    connect("NUVRO_TA53");
    NVEkey record{};
    VControllerEkeyVal dialog;
    dialog.setPekey(&record);
    chosenFile = "/opt/" + QString(300, QChar(u'x'));
    dialog.clickBtnBrowse();
    EXPECT_EQ(dialog.workingCopy().funcBit & 0x08, 0u);
    EXPECT_EQ(child<QLabel>(dialog, "_labelMax")->text(), qtTrId("str_EKV_path_too_long"));
}

TEST_F(KeyFunctions, PagePointsAtKeysLocksOnAClickAndEditsThem)
{
    connect("NUVRO_TA53");
    VControllerEkey page;
    page.resize(940, 460);
    page.show();
    NVMouseImageView* view = page.imageView();
    ASSERT_EQ(view->keys().size(), 9u);
    auto* value = child<QPushButton>(page, "_btnEkeyVal");
    const NVEkeyView& k2 = view->keys()[2];
    move_to(*view, {k2.outer.left + 1, k2.outer.top + 1});
    EXPECT_EQ(view->curEkeyIndex(), 2);
    EXPECT_EQ(value->text(), string_from_ekey(&g_ui.cfg.contexts[0].hbtns[2]));

    move_to(*view, {k2.outer.left + 1, k2.outer.top + 1}, QEvent::MouseButtonPress);
    EXPECT_TRUE(view->isLocked());
    const NVEkeyView& k5 = view->keys()[5];
    move_to(*view, {k5.outer.left + 1, k5.outer.top + 1});
    EXPECT_EQ(view->curEkeyIndex(), 2) << "locked";

    onNextModal([](QWidget& dialog) {
        static_cast<VControllerEkeyVal&>(dialog).clickMatrixMouse(2);
        child<QPushButton>(dialog, "_btnOk")->click();
    });
    value->click();
    EXPECT_EQ(g_ui.cfg.contexts[0].hbtns[2].funcBit & 0x1F0, 0x40u);
    EXPECT_EQ(value->text(), string_from_ekey(&g_ui.cfg.contexts[0].hbtns[2]));

    // The ring shows its function sets in the pop-up; an item edits the function it shows.
    const NVEkeyView& ring = view->keys()[8];
    move_to(*view, {ring.outer.left + 1, (ring.outer.top + ring.outer.bottom) / 2}, QEvent::MouseButtonPress);
    auto* popup = child<QComboBox>(page, "_btnMEkey");
    EXPECT_TRUE(popup->isVisible());
    EXPECT_FALSE(value->isVisible());
    ASSERT_GT(popup->count(), 1);
    onNextModal([](QWidget& dialog) {
        static_cast<VControllerNewEkeyVal&>(dialog).clickMatrixSwitch(0);
        child<QPushButton>(dialog, "_btnOk")->click();
    });
    popup->setCurrentIndex(1);
    page.clickBtnMEkey(1);
    const NVEkey& edited = g_ui.cfg.contexts[0].mekeys[0].muxfunc[0].ekeys[1];
    EXPECT_EQ(edited.funcBit & 0x03, 0x01u);
    EXPECT_TRUE(popup->itemText(1).startsWith(string_from_ekey(&edited)));
}

TEST_F(KeyFunctions, SwitchesFollowTheModelAndSoftKeysMoveTheWorkArea)
{
    connect("NUVRO_TA53"); // no soft keys
    {
        VControllerEkey page;
        page.show();
        EXPECT_FALSE(child<QCheckBox>(page, "_chkSEkey")->isVisible());
        EXPECT_TRUE(child<QCheckBox>(page, "_chkHEkey")->isVisible());
        EXPECT_FALSE(child<QCheckBox>(page, "_chkOptimize")->isVisible());
    }
    nv_ui_globals_free();
    connect("NUVRO_P4D9");
    VControllerEkey page;
    page.show();
    auto* soft = child<QCheckBox>(page, "_chkSEkey");
    ASSERT_TRUE(soft->isVisible());
    g_ui.cfg.workarea.top = 0.3f;
    if (soft->isChecked())
        soft->click();
    EXPECT_EQ(g_ui.cfg.workarea.top, 0.0f);
    soft->click();
    EXPECT_EQ(g_ui.cfg.bEnableSBtn, 1);
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.top, 0.08f);
}

TEST_F(KeyFunctions, APageWithoutATabletShowsNothingToEdit)
{
    VControllerEkey page;
    page.resize(940, 460);
    page.show();
    EXPECT_TRUE(page.imageView()->keys().empty());
    EXPECT_FALSE(child<QPushButton>(page, "_btnEkeyVal")->isEnabled());
    move_to(*page.imageView(), {100, 100}, QEvent::MouseButtonPress);
    child<QPushButton>(page, "_btnEkeyVal")->click(); // no dialog, nothing happens
}

TEST_F(KeyFunctions, TheFunctionSetInForceIsFollowedOnlyWhileThePageShows)
{
    connect("NUVRO_TA53"); // one ring with four sets
    LocalNotificationCenter bus;
    nv_app_context().bus = &bus;
    currentMMKeyFuncIndex = 0;
    {
        VControllerEkey page;
        page.resize(940, 460);
        page.show();
        bus.post(nvNotificationContextMEkeyChanged, {{nvKeyMuxIndex, NVPlistValue(int32_t{2})}});
        EXPECT_EQ(currentMMKeyFuncIndex, 2);
        auto* popup = child<QComboBox>(page, "_btnMEkey");
        ASSERT_GT(popup->count(), 0);
        EXPECT_TRUE(popup->itemText(0).contains(string_from_ekey(&g_ui.cfg.contexts[0].mekeys[0].muxfunc[2].ekeys[0])));
        page.hide();
        bus.post(nvNotificationContextMEkeyChanged, {{nvKeyMuxIndex, NVPlistValue(int32_t{3})}});
        EXPECT_EQ(currentMMKeyFuncIndex, 2);
    }
    nv_app_context().bus = nullptr;
}
