// The wait window from its form file: shown, its timer runs the command once and the window
// closes; Cancel closes it and the command never runs.
#include <gtest/gtest.h>

#include <chrono>

#include "mail/ReplyForwardForm.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

namespace {

bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Application->HandleMessage();
    }
    return true;
}

class ReplyForwardFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterReplyForwardForm();
        Application->Initialize();
        Application->CreateForm(form_);
    }
    void TearDown() override { delete form_; }
    TForm3* form_ = nullptr;
};

TEST_F(ReplyForwardFormTest, ShownItRunsTheCommandOnceThenCloses) {
    EXPECT_EQ(form_->Caption(), u"Quillora Pro");
    EXPECT_EQ(form_->ClientWidth(), 424);
    auto* timer = dynamic_cast<TTimer*>(form_->FindComponent("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 100u);

    std::vector<bool> runs;
    form_->Command = [&](bool forward) { runs.push_back(forward); };
    form_->SetIsForward(true);
    form_->Show();
    EXPECT_TRUE(timer->Enabled());
    ASSERT_TRUE(RunUntil([&] { return !runs.empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(runs, std::vector<bool>{true});
    EXPECT_FALSE(timer->Enabled());
    EXPECT_FALSE(form_->Visible());
}

TEST_F(ReplyForwardFormTest, CancelClosesAndTheCommandNeverRuns) {
    int runs = 0;
    form_->Command = [&](bool) { ++runs; };
    form_->Show();
    auto* cancel = dynamic_cast<TControl*>(form_->FindComponent("TntButton1"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->Caption(), u"Cancel");
    cancel->Click();
    EXPECT_FALSE(form_->Visible());
    RunUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(runs, 0);
}

}  // namespace
