#include "platform/linux/ReportingWorkspace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Reports = std::vector<std::string>;

// An adapter told by hand which program and owner are in front.
class HandAdapter : public ReportingWorkspace {
public:
    using ReportingWorkspace::report;
    using ReportingWorkspace::reportFirst;
};

struct ReportingWorkspaceTest : ::testing::Test {
    void follow(HandAdapter& adapter)
    {
        adapter.setActivationHandler([this](const std::string& path) { reports.push_back(path); });
    }

    HandAdapter ws;
    Reports reports;
};

TEST_F(ReportingWorkspaceTest, OnlyAChangeOfProgramIsReportedWhileTheOwnerNameFollowsEveryWindow)
{
    EXPECT_EQ(ws.frontmostOwnerName(), "");
    follow(ws);
    ws.report("/usr/bin/paint", "Paint");
    ws.report("/usr/bin/paint", "Paint Preview");
    EXPECT_EQ(ws.frontmostOwnerName(), "Paint Preview") << "another window of the same program";
    EXPECT_EQ(reports, Reports{"/usr/bin/paint"});

    // A program that cannot be told and no window at all are both the default profile.
    ws.report("", "Gone");
    EXPECT_EQ(ws.frontmostOwnerName(), "Gone");
    ws.report("", "");
    EXPECT_EQ(ws.frontmostOwnerName(), "");
    ws.report("/usr/bin/sketch", "Sketch");
    ws.report("/usr/bin/paint", "Paint");
    EXPECT_EQ(reports, (Reports{"/usr/bin/paint", "", "/usr/bin/sketch", "/usr/bin/paint"}));
    EXPECT_EQ(ws.frontmostOwnerName(), "Paint");
}

TEST_F(ReportingWorkspaceTest, TheProgramInFrontAtTheStartIsReportedOnceUnlessAnActivationCameFirst)
{
    // Learnt while the adapter is set up, before anyone follows it.
    ws.report("/usr/bin/paint", "Paint");
    EXPECT_EQ(ws.frontmostOwnerName(), "Paint");
    follow(ws);
    EXPECT_TRUE(reports.empty());
    ws.reportFirst();
    ws.reportFirst();
    EXPECT_EQ(reports, Reports{"/usr/bin/paint"});

    // Nothing in front decides the profile too.
    HandAdapter empty;
    follow(empty);
    empty.reportFirst();
    EXPECT_EQ(reports, (Reports{"/usr/bin/paint", ""}));

    // An activation the handler has heard of already decided it.
    HandAdapter early;
    follow(early);
    early.report("/usr/bin/sketch", "Sketch");
    early.reportFirst();
    EXPECT_EQ(reports, (Reports{"/usr/bin/paint", "", "/usr/bin/sketch"}));
}

TEST_F(ReportingWorkspaceTest, WithoutAHandlerNothingIsReportedAndALaterHandlerHearsTheStateKept)
{
    ws.report("/usr/bin/paint", "Paint");
    ws.reportFirst();
    ws.report("/usr/bin/sketch", "Sketch");
    EXPECT_EQ(ws.frontmostOwnerName(), "Sketch");

    follow(ws);
    ws.report("/usr/bin/sketch", "Sketch 2");
    EXPECT_TRUE(reports.empty()) << "the program in front is no change, whoever follows";
    // The start's report found no handler: a later one still decides the profile in force.
    ws.reportFirst();
    ws.report("/usr/bin/paint", "Paint");
    EXPECT_EQ(reports, (Reports{"/usr/bin/sketch", "/usr/bin/paint"}));
}

// The bus adapters' rule: each activation is followed by reportFirst, so the first one the
// handler hears is reported even when it names what was already known.
TEST_F(ReportingWorkspaceTest, AReportFollowedByReportFirstTellsTheFirstActivationWhateverItIs)
{
    auto activate = [](HandAdapter& adapter, const std::string& path, const std::string& owner) {
        adapter.report(path, owner);
        adapter.reportFirst();
    };
    activate(ws, "", "");
    activate(ws, "/usr/bin/paint", "Paint");
    EXPECT_TRUE(reports.empty());

    follow(ws);
    activate(ws, "/usr/bin/paint", "Paint");
    activate(ws, "/usr/bin/paint", "Paint Preview");
    activate(ws, "", "");
    activate(ws, "", "");
    EXPECT_EQ(reports, (Reports{"/usr/bin/paint", ""}));
}

} // namespace
