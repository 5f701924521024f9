// Patients: the code typed in the main window reaching the journal, one patient whatever the
// case, a patient's runs listed, plotted, reported and exported, and a patient erased
// without a byte left in any of the journal's files, also while another program reads it.
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest/QTest>

#include "core/console/notices.h"
#include "gui/journal/journal_backlog.h"
#include "gui/journal/journal_fixture.h"
#include "gui/patients/erase_dialog.h"
#include "gui/patients/patients_window.h"
#include "gui/patients/setup_dialog.h"
#include "gui/patients/threshold_plot.h"

namespace limenta::testing {
namespace {

class Patients : public Journal {
  protected:
    // A run of the patient `code` (none: no one's) measured with the coil `coil`, answered
    // `answers`, then Reset.
    void runOf(const QString& code, const QString& coil, const std::string& answers) {
        typeCode(code);
        if (!coil.isEmpty()) {
            ui.button("SetupButton")->click();
            auto* setup = window->findChild<SetupDialog*>();
            ASSERT_NE(setup, nullptr);
            setup->findChild<QLineEdit*>(QStringLiteral("Coil"))->setText(coil);
            setup->accept();
            QCoreApplication::processEvents();
        }
        ui.button("PushButton1")->click();
        type(answers);
        ui.button("PushButton3")->click();
        fake.clocks.now = fake.clocks.now.addDays(7);
    }
    // The operator's typing, in place of what the field held.
    void typeCode(const QString& code) {
        QLineEdit* patient = ui.field("PatientField");
        QApplication::setActiveWindow(patient->window());  // a dialog may have had the keyboard
        patient->setFocus();
        patient->selectAll();
        QTest::keyClick(patient, Qt::Key_Backspace);
        QTest::keyClicks(patient, code);
    }
    PatientsWindow& patientsShowing(const QString& code) {
        window->showPatients();
        auto* patients = window->findChild<PatientsWindow*>();
        EXPECT_NE(patients, nullptr);
        patients->find->setText(code);  // one patient left: chosen
        return *patients;
    }
    // How often `text` (in any case) appears in each of the journal's files.
    [[nodiscard]] std::map<QString, int> bytesOf(const QString& text) const {
        std::map<QString, int> found;
        for (const char* part : {"", "-wal", "-shm", "-waiting"}) {
            QFile file(journalPath() + QLatin1String(part));
            if (file.open(QIODevice::ReadOnly)) {
                found[QLatin1String(part)] =
                    static_cast<int>(file.readAll().toLower().count(text.toLower().toUtf8()));
            }
        }
        return found;
    }
    [[nodiscard]] int total(const QString& text) const {
        int n = 0;
        for (const auto& [part, count] : bytesOf(text)) {
            n += count;
        }
        return n;
    }
    // The erase dialog answered by typing `typed` and pressing Erase.
    void confirmErasureWith(const QString& typed, bool deleteDamaged = false) {
        fake.dialogs.scripts.push_back([typed, deleteDamaged](QDialog& dialog) {
            auto& erase = dynamic_cast<EraseDialog&>(dialog);
            erase.typed->setText(typed);
            if (erase.damaged != nullptr) {
                erase.damaged->setChecked(deleteDamaged);
            }
            return QDialog::Accepted;
        });
    }
};

TEST_F(Patients, APatientsRunsAreListedPlottedReportedAndExported) {
    Window1& w = openWithJournal();
    runOf(QStringLiteral("P-4711"), QStringLiteral("D70"), "yynnyny");
    EXPECT_EQ(notices.size(), 0);  // the journal's; the console's own notice below
    runOf(QStringLiteral("p-4711"), QStringLiteral("Cooled D70"), "yynnyny");
    runOf(QStringLiteral("=1+1"), QString(), "yy");
    ASSERT_TRUE(settled());
    // One patient whatever the case typed, kept as first typed.
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT code FROM patients ORDER BY id")),
              (QStringList{"P-4711", "=1+1"}));
    EXPECT_EQ(writer->patientCodes(), (std::vector<std::string>{"P-4711", "=1+1"}));

    PatientsWindow& patients = patientsShowing(QStringLiteral("47"));
    ASSERT_EQ(patients.patients->rowCount(), 1);
    EXPECT_EQ(patients.patients->item(0, PatientsWindow::kRuns)->text(), "2");
    EXPECT_EQ(patients.patients->item(0, PatientsWindow::kLastRmt)->text(), "41.69");
    EXPECT_EQ(patients.patients->item(0, PatientsWindow::kLastSetup)->text(), "Cooled D70");
    ASSERT_EQ(patients.runs->rowCount(), 2);
    EXPECT_EQ(patients.runs->item(1, PatientsWindow::kSetup)->text(), "D70");
    // Two setups: two kinds of mark, never one line through both.
    ASSERT_EQ(patients.plot->marks().size(), 2U);
    EXPECT_EQ(patients.plot->setups(), (std::vector<QString>{"D70", "Cooled D70"}));
    EXPECT_EQ(patients.plot->marks()[1].setup, 1U);
    EXPECT_EQ(patients.plot->marks()[1].day - patients.plot->marks()[0].day, 7);
    patients.runs->selectRow(1);
    const QString report = w.findChild<Window4*>()->EditField1->text();
    EXPECT_NE(report.indexOf(QLatin1String("\rPatient: P-4711\rSetup: D70\rTotal Assessment")), -1)
        << report.toStdString();

    // Their runs exported, the patient's columns after every older one; a code that looks
    // like a formula is text.
    fake.dialogs.saveAnswer = dir.filePath(QStringLiteral("theirs.csv"));
    patients.exportCsv();
    EXPECT_EQ(fake.dialogs.offeredNames.back(), "limenta-P-4711.csv");
    QFile csv(fake.dialogs.saveAnswer);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const std::vector<QStringList> rows = parseCsv(QString::fromUtf8(csv.readAll()));
    ASSERT_EQ(rows.size(), 15U);  // the header and 7 answers of each run
    EXPECT_EQ(rows[0].mid(18), (QStringList{"true_threshold", "patient", "hemisphere", "muscle",
                                            "coil", "stimulator", "judged"}));
    EXPECT_EQ(rows[1].mid(19, 5), (QStringList{"P-4711", "", "", "Cooled D70", ""}));
    patients.find->setText(QStringLiteral("=1"));
    fake.dialogs.saveAnswer = dir.filePath(QStringLiteral("formula.csv"));
    patients.exportCsv();
    QFile formula(fake.dialogs.saveAnswer);
    ASSERT_TRUE(formula.open(QIODevice::ReadOnly));
    EXPECT_EQ(parseCsv(QString::fromUtf8(formula.readAll()))[1][19], "'=1+1");
}

TEST_F(Patients, ErasingAPatientLeavesNoByteOfThemInAnyOfTheJournalsFiles) {
    Window1& w = openWithJournal();
    runOf(QStringLiteral("QX-4711"), QStringLiteral("ZebraCoil"), "yynnyny");
    runOf(QStringLiteral("S-0012"), QStringLiteral("PlainCoil"), "yynnyny");
    runOf(QString(), QString(), "yy");  // an older habit: the code in the note
    ASSERT_TRUE(settled());
    const QString later = column(journalPath(), QStringLiteral("SELECT MAX(id) FROM runs"))[0];
    writer->write(JournalWrite::noted(later.toLongLong(), "baseline of qx-4711"));
    // A third run of theirs is under way: Erase waits for its Reset.
    typeCode(QStringLiteral("QX-4711"));
    ui.button("PushButton1")->click();
    type("y");
    ASSERT_TRUE(settled());
    PatientsWindow& patients = patientsShowing(QStringLiteral("qx"));
    patients.erase();
    ASSERT_EQ(fake.dialogs.messages.size(), 1U);
    EXPECT_TRUE(fake.dialogs.messages[0].startsWith(
        QLatin1String("QX-4711 cannot be erased while their run is under way")));
    EXPECT_EQ(fake.dialogs.modalRuns, 0);
    ui.button("PushButton3")->click();
    ASSERT_TRUE(settled());
    EXPECT_GT(total(QStringLiteral("QX-4711")), 0);
    EXPECT_GT(total(QStringLiteral("ZebraCoil")), 0);

    // A code typed wrong erases nothing, whatever the dialog returns.
    confirmErasureWith(QStringLiteral("QX-4712"));
    patients.erase();
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT COUNT(*) FROM runs")), QStringList{"4"});
    // The code typed again, in any case: their runs, answers and note go, and with them
    // every byte.
    confirmErasureWith(QStringLiteral(" qx-4711"));
    patients.erase();
    ASSERT_EQ(fake.dialogs.messages.size(), 2U);
    EXPECT_EQ(fake.dialogs.messages[1],
              "QX-4711 is erased: nothing of them is left in the run journal's files.");
    for (const QString& gone :
         {QStringLiteral("QX-4711"), QStringLiteral("ZebraCoil"), QStringLiteral("baseline")}) {
        EXPECT_EQ(total(gone), 0) << gone.toStdString();
    }
    EXPECT_GT(total(QStringLiteral("S-0012")), 0);  // another patient's run stays
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT COUNT(*) FROM runs")), QStringList{"1"});
    EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT COUNT(*) FROM answers")),
              QStringList{"7"});
    EXPECT_FALSE(writer->patient("qx-4711"));
    EXPECT_EQ(patients.patients->rowCount(), 0);
    // The code typed again is a new patient.
    runOf(QStringLiteral("QX-4711"), QString(), "y");
    EXPECT_EQ(w.console().view().notice, "New patient QX-4711");
}

TEST_F(Patients, AnErasureAReaderHoldsBackIsSaidIncompleteAndFinishedWhenItLetsGo) {
    // While this Limenta runs, and when it has quit before the reader let go: at its next
    // start.
    for (const bool restarted : {false, true}) {
        SCOPED_TRACE(restarted ? "at the next start" : "in the same session");
        writer.reset();
        for (const char* part : {"", "-wal", "-shm"}) {
            QFile::remove(journalPath() + QLatin1String(part));
        }
        notices.clear();
        fake.dialogs.messages.clear();
        openWithJournal();
        runOf(QStringLiteral("QX-4711"), QStringLiteral("ZebraCoil"), "yynnyny");
        runOf(QStringLiteral("S-0012"), QStringLiteral("PlainCoil"), "yy");
        ASSERT_TRUE(settled());
        // A damaged copy put aside earlier may hold the patient too.
        const QString aside = journalPath() + QStringLiteral(".damaged-20261201-101010");
        ASSERT_TRUE(QFile::copy(journalPath(), aside));
        {
            QSqlDatabase reader =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            reader.setDatabaseName(journalPath());
            ASSERT_TRUE(reader.open());
            QSqlQuery read(reader);
            ASSERT_TRUE(read.exec(QStringLiteral("BEGIN")));
            ASSERT_TRUE(read.exec(QStringLiteral("SELECT COUNT(*) FROM runs")) && read.next());
            PatientsWindow& patients = patientsShowing(QStringLiteral("QX"));
            confirmErasureWith(QStringLiteral("QX-4711"), true);
            patients.erase();
            ASSERT_EQ(fake.dialogs.messages.size(), 1U);
            EXPECT_TRUE(fake.dialogs.messages[0].startsWith(QLatin1String(
                "The erasure of QX-4711 is not complete. Another program is reading")))
                << fake.dialogs.messages[0].toStdString();
            EXPECT_FALSE(QFile::exists(aside));  // the copy the operator chose to delete
            EXPECT_EQ(column(journalPath(), QStringLiteral("SELECT COUNT(*) FROM patients")),
                      QStringList{"1"});
            pass(500);  // tried again while the reader holds on: still not said done
            EXPECT_FALSE(notices.contains(QLatin1String(notice::kErasureComplete)));
            EXPECT_GT(total(QStringLiteral("ZebraCoil")), 0);
            if (restarted) {
                delete window->findChild<PatientsWindow*>();
                writer.reset();
                startWriter(journalPath());
                pass(300);
            }
            read.exec(QStringLiteral("COMMIT"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        QElapsedTimer waited;
        waited.start();
        while (total(QStringLiteral("ZebraCoil")) > 0 && waited.elapsed() < 5000) {
            pass(20);
        }
        EXPECT_EQ(total(QStringLiteral("QX-4711")), 0);
        EXPECT_EQ(total(QStringLiteral("ZebraCoil")), 0);
        // Said done by the session that said it was not; a later one finishes it quietly.
        EXPECT_EQ(notices.contains(QLatin1String(notice::kErasureComplete)), !restarted);
    }
}

// Two Limentas making the same patient at once, in any case, make one.
TEST_F(Patients, OneCodeInAnyCaseIsOnePatientAcrossConnections) {
    RunJournal::Opened first = RunJournal::open(journalPath(), RunJournal::Access::Write);
    RunJournal::Opened second = RunJournal::open(journalPath(), RunJournal::Access::Write);
    ASSERT_TRUE(first.journal && second.journal);
    JournalRun a;
    a.uid = "a";
    a.started = "2026-12-10T09:00:00Z";
    a.method = "pest";
    a.settings = "{}";
    a.patient = "p-9";
    JournalRun b = a;
    b.uid = "b";
    b.patient = "P-9";
    ASSERT_TRUE(first.journal->write({JournalWrite::start(a)}));
    ASSERT_TRUE(second.journal->write({JournalWrite::start(b)}));
    const std::vector<JournalRun> runs = first.journal->runs();
    ASSERT_EQ(runs.size(), 2U);
    EXPECT_EQ(runs[0].patient, "p-9");
    EXPECT_EQ(runs[1].patient, "p-9");
    ASSERT_EQ(second.journal->patients().size(), 1U);
}

// Writes kept aside while the journal was busy lose the erased patient's lines, and only
// them.
TEST_F(Patients, TheBacklogLosesOnlyTheErasedPatientsWrites) {
    JournalBacklog backlog(journalPath());
    JournalRun theirs;
    theirs.uid = "theirs";
    theirs.patient = "QX-4711";
    JournalRun other;
    other.uid = "other";
    other.patient = "S-0012";
    other.setup = {Hemisphere::Right, "ADM", "D70", "MagPro", Judged::Emg};
    for (const JournalRun& run : {theirs, other, theirs}) {
        ASSERT_TRUE(backlog.add(JournalWrite::start(run)));
    }
    ASSERT_TRUE(backlog.drop([](const JournalWrite& w) { return w.run.uid == "theirs"; }));
    std::vector<JournalWrite> left;
    ASSERT_TRUE(backlog.drain([&left](const std::vector<JournalWrite>& writes) {
        left = writes;
        return true;
    }));
    ASSERT_EQ(left.size(), 1U);
    EXPECT_EQ(left[0].run.patient, "S-0012");
    EXPECT_EQ(left[0].run.setup, other.setup);
    EXPECT_EQ(total(QStringLiteral("QX-4711")), 0);
}

}  // namespace
}  // namespace limenta::testing
