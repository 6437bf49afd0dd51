// The agent's command line.
#include "agent/AgentOptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::optional<AgentOptions> parse(std::vector<const char*> args, std::string* error = nullptr)
{
    std::string ignored;
    args.insert(args.begin(), "NuvroAgent");
    return nv_agent_options(static_cast<int>(args.size()), args.data(), error ? error : &ignored);
}

} // namespace

TEST(AgentOptions, AutostartAndQtArgumentsAreLeftAlone)
{
    const auto o = parse({"-runMode", "autoLaunched", "-platform", "offscreen"});
    ASSERT_TRUE(o);
    EXPECT_FALSE(o->simulate);
    EXPECT_FALSE(o->printEvents);
    EXPECT_TRUE(o->recordPath.empty());
    EXPECT_EQ(o->selfTestReports, -1);
}

TEST(AgentOptions, SimulateRecordPrintAndSelfTest)
{
    auto o = parse({"--simulate=NUVRO_T369", "--record", "/tmp/s.jsonl", "--print-events", "--foreground"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->foreground);
    EXPECT_TRUE(o->simulate);
    EXPECT_EQ(o->simulateModel, "NUVRO_T369");
    EXPECT_EQ(o->recordPath, "/tmp/s.jsonl");
    EXPECT_TRUE(o->printEvents);

    o = parse({"--simulate", "--record=/tmp/x"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->simulateModel.empty());
    EXPECT_EQ(o->recordPath, "/tmp/x");

    o = parse({"--self-test-reports", "10000"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->selfTestReports, 10000);
    EXPECT_TRUE(o->simulate) << "the figures come from a simulated tablet";

    o = parse({"--self-test-hold"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->selfTestHold);
    EXPECT_TRUE(o->simulate);

    o = parse({"--feed-reports"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->feedReports);
    EXPECT_TRUE(o->simulate) << "fed reports come from a simulated tablet";
}

TEST(AgentOptions, MissingOrMalformedValuesAreRefused)
{
    std::string error;
    EXPECT_FALSE(parse({"--record"}, &error));
    EXPECT_NE(error.find("--record"), std::string::npos);
    EXPECT_FALSE(parse({"--record="}));
    EXPECT_FALSE(parse({"--self-test-reports", "many"}));
    EXPECT_FALSE(parse({"--self-test-reports=-3"}));
    EXPECT_FALSE(parse({"--self-test-reports"}));
}
