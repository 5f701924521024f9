// The preferences file on disk: where it lives, the first start, a damaged file kept until
// OK replaces it, a file too long to be ours, a link never written through, an unwritable
// folder, and a file replaced whole.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>

#include "core/console/notices.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/prefs/key_capture_dialog.h"
#include "gui/prefs/preferences_dialog.h"

namespace limenta::testing {
namespace {

using Preferences = MainWindowTest;

// A modal script that presses one of the dialog's buttons.
FakeDialogs::Script pressing(QPushButton* Window2::*button) {
    return [button](QDialog& dialog) {
        (dynamic_cast<Window2&>(dialog).*button)->click();
        return dialog.result();
    };
}
TEST_F(Preferences, FirstStartWritesTheDefaultFileAndShowsTheDialogFirst) {
    fake.dialogs.scripts.push_back(pressing(&Window2::PushButton5));  // Cancel
    open(std::nullopt);
    EXPECT_EQ(fake.dialogs.modalRuns, 1);
    EXPECT_EQ(readPrefs(), defaultPrefsText());
    EXPECT_EQ(window->console().preferences().number(kPrefsInitialOutput), 50);
    EXPECT_EQ(ui.slider("Slider2")->value(), 100);
}

TEST_F(Preferences, AFirstStartInAFolderNotYetMadeMakesItOwnerOnly) {
    const QString folder = dir.filePath(QStringLiteral("not/yet"));
    PrefsStore missing(folder + QStringLiteral("/PREFS"));
    missing.setTeller([this](const QString& message) { fake.dialogs.message(nullptr, message); });
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.Slider1->setValue(40);
        d.PushButton4->click();
        return dialog.result();
    });
    Window1 w(fake.platform, missing);
    ui = Controls(&w);
    w.Event_Open();
    EXPECT_TRUE(fake.dialogs.messages.empty());  // nothing failed to save
    for (const QString& made : {dir.filePath(QStringLiteral("not")), folder}) {
        EXPECT_EQ(QFileInfo(made).permissions(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                                     QFileDevice::WriteUser | QFileDevice::ExeUser)
            << made.toStdString();
    }
    EXPECT_EQ(PrefsText(*missing.read()).volume(kPrefsVoiceVolume), 40);
    EXPECT_EQ(ui.slider("Slider1")->value(), 40);  // the window shows what the dialog chose
    EXPECT_EQ(ui.slider("Slider2")->value(), 100);
}

TEST_F(Preferences, ADamagedFileGivesTheDefaultsAndIsKeptUntilOk) {
    for (const std::string& damaged : damagedPrefsFiles()) {
        SCOPED_TRACE(::testing::PrintToString(damaged));
        open(damaged);  // the defaults in use, as the console's tests show
        EXPECT_EQ(window->console().view().notice, notice::kPrefsDamaged);

        fake.dialogs.scripts.push_back([](QDialog& dialog) {
            auto& d = dynamic_cast<Window2&>(dialog);
            EXPECT_EQ(d.EditField1->text(), "50");  // design-time values
            EXPECT_EQ(d.StaticText5->text(), "KEY =      y");
            d.PushButton5->click();
            return dialog.result();
        });
        ui.button("PushButton6")->click();
        EXPECT_EQ(readPrefs(), damaged);  // Cancel: the file stays until OK replaces it
        fake.dialogs.scripts.push_back([](QDialog& dialog) {
            dynamic_cast<Window2&>(dialog).PushButton4->click();
            return dialog.result();
        });
        ui.button("PushButton6")->click();
        EXPECT_EQ(readPrefs(), defaultPrefsText());
    }
}

TEST_F(Preferences, AnUnwritableFolderIsToldOnceAndTheDialogsValuesAreUsed) {
    // A folder that is really a file: nobody, not even root, can write beneath it.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    store = std::make_unique<PrefsStore>(dir.filePath(QStringLiteral("blocked/PREFS")));
    store->setTeller([this](const QString& message) { fake.dialogs.message(nullptr, message); });
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.EditField1->setText(QStringLiteral("47"));
        d.PushButton4->click();
        return dialog.result();
    });
    window = std::make_unique<Window1>(fake.platform, *store);
    ui = Controls(window.get());
    window->Event_Open();
    EXPECT_EQ(fake.dialogs.modalRuns, 1);  // the first-start dialog, once, never again
    ASSERT_EQ(fake.dialogs.messages.size(), 1U);
    EXPECT_NE(fake.dialogs.messages[0].indexOf(QLatin1String("blocked")), -1);
    EXPECT_NE(fake.dialogs.messages[0].indexOf(QLatin1String("will not be kept")), -1);
    EXPECT_EQ(window->console().preferences().number(kPrefsInitialOutput), 47);
    ui.button("PushButton6")->click();  // nobody there: closed at once
    EXPECT_EQ(fake.dialogs.messages.size(), 1U);
}

TEST_F(Preferences, AFileLongerThanTheReaderTakesCountsAsDamaged) {
    // Fields of 32,767 characters, as a paste before the typing limit could make them.
    const std::string field(32767, '5');
    open("PESTPREFS\t" + field + "\t" + field + "\t" + field + "\t0\t100\t100");
    EXPECT_EQ(window->console().preferences().number(kPrefsInitialOutput), 50);
    EXPECT_EQ(window->console().keys().successkey, 'y');
    EXPECT_EQ(ui.slider("Slider2")->value(), 100);
    EXPECT_EQ(QString::fromStdString(window->console().view().notice),
              "The preferences file could not be read: default settings are in use.");
}

TEST_F(Preferences, AFileThatIsALinkIsReadButNeverWrittenThrough) {
    const QString target = dir.filePath(QStringLiteral("passwd"));
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(prefsWith({{kPrefsInitialOutput, "44"}})));
    }
    ASSERT_TRUE(QFile::link(target, prefsPath()));
    open(std::nullopt);
    EXPECT_EQ(window->console().preferences().number(kPrefsInitialOutput),
              44);  // read through the link
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.EditField1->setText(QStringLiteral("61"));
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    ASSERT_EQ(fake.dialogs.messages.size(), 1U);
    EXPECT_NE(fake.dialogs.messages[0].indexOf(QLatin1String("symbolic link")), -1);
    EXPECT_TRUE(QFileInfo(prefsPath()).isSymLink());
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), prefsWith({{kPrefsInitialOutput, "44"}}));
    EXPECT_EQ(window->console().preferences().number(kPrefsInitialOutput),
              61);  // the dialog's values are used until Limenta closes
}

TEST_F(Preferences, TheWriterReplacesTheFileWhole) {
    PrefsStore prefs(prefsPath());
    writePrefs(std::string(5000, 'x'));
    ASSERT_TRUE(prefs.write(defaultPrefsText()));
    EXPECT_EQ(readPrefs(), defaultPrefsText());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"PREFS"});  // no leftovers
}

TEST(PrefsLocation, TheEnvironmentChoosesTheFolder) {
    qputenv("LIMENTA_PREFS_DIR", "/some/where");
    EXPECT_EQ(PrefsStore::defaultFilePath(), "/some/where/PREFS");
    qunsetenv("LIMENTA_PREFS_DIR");
    EXPECT_TRUE(PrefsStore::defaultFilePath().endsWith(QLatin1String("/PREFS")));
}

}  // namespace
}  // namespace limenta::testing
