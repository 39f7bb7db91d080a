#include "CSulvanFileDlg.hpp"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "CAboutDlg.hpp"
#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"
#include "CTextProgressCtrl.hpp"
#include "RecordBuilder.hpp"
#include "app/ConversionTable.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan::gui {
namespace {

using namespace test;
using namespace records;
using Paths = std::vector<std::string>;

// The dialog over a scripted user, with the files and the folder its choosers hand back.
struct SDialog {
    template <class TWidget>
    TWidget* Find(const QString& strName) const {
        for (TWidget* pWidget : dialog.findChildren<TWidget*>()) {
            if (pWidget->accessibleName() == strName) {
                return pWidget;
            }
        }
        ADD_FAILURE() << "no control " << strName.toStdString();
        return nullptr;
    }
    void Click(const QString& strText) {
        for (QPushButton* pButton : dialog.findChildren<QPushButton*>()) {
            if (pButton->text() == strText || pButton->accessibleName() == strText) {
                return pButton->click();
            }
        }
        ADD_FAILURE() << "no button " << strText.toStdString();
    }
    QListWidget* Files() const { return Find<QListWidget>("Files to convert"); }
    QStringList Items(const QString& strList, bool bSelectedOnly = false) const {
        QStringList items;
        QListWidget* pList = Find<QListWidget>(strList);
        for (int i = 0; i < pList->count(); ++i) {
            if (!bSelectedOnly || pList->item(i)->isSelected()) {
                items << pList->item(i)->text();
            }
        }
        return items;
    }
    QString Destination() const { return Find<QLineEdit>("Destination folder")->text(); }

    CTempDir dir;
    CScriptedUserInterface ui;
    std::optional<Paths> picked;
    std::optional<std::string> folder;  // none: the folder browse is cancelled
    std::string strBrowseTitle;
    CSulvanFileDlg dialog{&ui,
                          {[this](QWidget*) { return picked; },
                           [this](QWidget*, const std::string& strTitle, const std::string& strAt) {
                               strBrowseTitle = strTitle;
                               return folder.value_or(strAt);
                           }}};
};

Bytes DatedRecording(int nYear, int nMonth, int nDay) {
    return CRecordingBuilder()
        .Add(StandardConfiguration())
        .Add(CRecordBuilder(RecordId::CurrentProfile, 40)
                 .Clock(MakeClock(nYear, nMonth, nDay, 0, 0, 0)))
        .Image();
}

Bytes TarsisRecording(std::string_view strFirmware) {
    return CRecordingBuilder()
        .Add(StandardConfiguration("TRS 1001", strFirmware))
        .Add(SystemSample())
        .Add(VelocitySample())
        .Image();
}

TEST(CSulvanFileDlgWindow, OpensWithTitleTypesOptionsAndAnEmptyBar) {
    SDialog d;
    EXPECT_EQ(d.dialog.windowTitle(), "Sulvan File Converter v1.03");
    auto* pCombo = d.Find<QComboBox>("Conversion type");
    const char* const texts[] = {"Corvane (.mrv) to KVT (.adv)", "Tarsis (.trs) to KVT (.adv)",
                                 "Pelora/Tarsis (.pld/.trs) to Kestra (.wpr)"};
    ASSERT_GE(pCombo->count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pCombo->itemText(i), texts[i]);
    }
    EXPECT_EQ(pCombo->currentIndex(), 0);
    EXPECT_TRUE(d.dialog.findChild<QCheckBox*>()->text() == "&Checksum control" &&
                d.dialog.findChild<QCheckBox*>()->isChecked());
    auto* pBar = d.Find<CTextProgressCtrl>("Progress");
    EXPECT_EQ(pBar->GetPos(), 0);
    EXPECT_EQ(pBar->GetRange(false), 100);
    pBar->StepIt();
    EXPECT_EQ(pBar->GetPos(), 1);
}

TEST(CSulvanFileDlgWindow, AddFileListsNewNamesByStartTimeAllSelected) {
    SDialog d;
    const std::string strLate = d.dir.Write("late.trs", DatedRecording(2008, 1, 1));
    const std::string strEarly = d.dir.Write("early.trs", DatedRecording(2007, 12, 31));
    d.picked = Paths{strLate, strEarly, "/elsewhere/LATE.TRS"};
    d.Click("&Add file...");
    EXPECT_EQ(d.Items("Files to convert", true), QStringList({"early.trs", "late.trs"}));
    EXPECT_EQ(d.Destination().toStdString(), d.dir.Path());

    // A cancelled choice still leaves the list sorted and all selected.
    d.Files()->clearSelection();
    d.picked.reset();
    d.Click("&Add file...");
    EXPECT_EQ(d.Items("Files to convert", true), QStringList({"early.trs", "late.trs"}));

    Paths many;
    for (int i = 0; i < 2050; ++i) {
        many.push_back("/many/f" + std::to_string(i) + ".trs");
    }
    d.picked = many;
    d.Click("&Add file...");
    EXPECT_EQ(d.Files()->count(), 2048);
    EXPECT_EQ(d.Items("Files to convert", true).size(), 2048);
}

TEST(CSulvanFileDlgWindow, RemoveTakesTheSelectedAndSelectAllSelectsTheRest) {
    SDialog d;
    d.picked = Paths{"/a/a.trs", "/a/b.trs", "/a/c.trs"};
    d.Click("&Add file...");
    d.Files()->item(1)->setSelected(false);
    d.Click("&Remove");
    EXPECT_EQ(d.Items("Files to convert"), QStringList({"b.trs"}));
    d.Click("&Remove");  // nothing selected
    EXPECT_EQ(d.Items("Files to convert"), QStringList({"b.trs"}));
    d.Click("S&elect All");
    EXPECT_EQ(d.Items("Files to convert", true), QStringList({"b.trs"}));
}

TEST(CSulvanFileDlgWindow, ConvertTakesWhatIsOnScreenAndListsWhatWasWritten) {
    SDialog d;
    std::filesystem::create_directories(d.dir.Path("in"));
    std::filesystem::create_directories(d.dir.Path("out"));
    d.picked = Paths{d.dir.Write("in/new.trs", TarsisRecording("1.08")),
                     d.dir.Write("in/old.trs", TarsisRecording("1.07"))};
    d.Click("&Add file...");
    d.Find<QComboBox>("Conversion type")->setCurrentIndex(PositionOf(EConversion::TrsToAdv));
    // Typed after Add file set the destination: Convert reads it, and shows it unchanged.
    auto* pEdit = d.Find<QLineEdit>("Destination folder");
    pEdit->clear();
    QTest::keyClicks(pEdit, QString::fromStdString(d.dir.Path("out")));
    d.ui.Answer(true);  // repair the old recording
    d.Click("Convert");

    EXPECT_EQ(d.Items("Converted files"), QStringList({"new.adv", "old_new.trs"}));
    EXPECT_TRUE(std::filesystem::exists(d.dir.Path("out/new.adv")));
    EXPECT_TRUE(std::filesystem::exists(d.dir.Path("out/old_new.trs")));
    EXPECT_EQ(d.ui.Questions(), Paths{"Burst headers missing in file.\r\rRepair file?"});
    EXPECT_EQ(d.Destination().toStdString(), d.dir.Path("out"));
    EXPECT_EQ(d.Find<CTextProgressCtrl>("Progress")->GetPos(), 100);
}

TEST(CSulvanFileDlgWindow, AboutShowsTheWindowTitle) {
    SDialog d;
    QString strShown;
    QTimer::singleShot(0, [&] {
        auto* pAbout = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(pAbout, nullptr);
        strShown = pAbout->TitleLine();
        pAbout->accept();
    });
    for (QAction* pAction : d.dialog.findChildren<QAction*>()) {
        if (pAction->text() == "&About Sulvan File Converter...") {
            pAction->trigger();
        }
    }
    EXPECT_EQ(strShown, "Sulvan File Converter v1.03");
}

}  // namespace
}  // namespace sulvan::gui
