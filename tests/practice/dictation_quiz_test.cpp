// SPDX-License-Identifier: MIT
#include "practice/dictation_quiz.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "practice/practice_range.h"
#include "tests/support/fakes.h"

namespace talmo {
namespace {

struct Draw {
    int second;
    float random;
    int position;
    std::int32_t number;
};

void PrintTo(const Draw& d, std::ostream* os) {
    *os << "s=" << d.second << " r=" << d.random << " position " << d.position;
}

class DrawDictationNumberCase : public ::testing::TestWithParam<Draw> {};

TEST_P(DrawDictationNumberCase, DrawsTheNumber) {
    const Draw& d = GetParam();
    EXPECT_EQ(DrawDictationNumber(d.second, d.random, PracticeRangeAt(d.position)->modulus),
              d.number);
}

INSTANTIATE_TEST_SUITE_P(Examples, DrawDictationNumberCase,
                         ::testing::Values(Draw{7, 0.375f, 1, 88}, Draw{30, 0.25f, 4, 74992},
                                           Draw{12, 0.125f, 0, 5}, Draw{0, 0.999f, 4, 0},
                                           Draw{59, 0.0f, 4, 0}, Draw{1, 0.99999994f, 3, 9999},
                                           Draw{59, 0.99999994f, 4, 89941}));

TEST(DrawDictationNumber, StaysWithinTheRangeAndBelowTheSecondsBound) {
    UnseededRandom random;
    for (int second = 0; second < 60; ++second) {
        for (const PracticeRange& range : PracticeRangeTable) {
            for (int i = 0; i < 50; ++i) {
                const std::int32_t n = DrawDictationNumber(second, random.Next(), range.modulus);
                ASSERT_GE(n, 0);
                ASSERT_LE(n, range.largest);
                ASSERT_LE(n, second * 9999);
            }
        }
    }
}

TEST(PracticeRangeTable, EachModulusIsItsLargestNumberPlusOne) {
    const std::vector<std::string> texts{"0 - 10", "0 - 100", "0 - 1000", "0 - 10000", "0 - 99999"};
    for (int p = 0; p < 5; ++p) {
        ASSERT_NE(PracticeRangeAt(p), nullptr);
        EXPECT_EQ(PracticeRangeAt(p)->text, texts[std::size_t(p)]);
        EXPECT_EQ(PracticeRangeAt(p)->modulus, PracticeRangeAt(p)->largest + 1);
    }
    EXPECT_EQ(PracticeRangeAt(4)->largest, 99999);
    EXPECT_EQ(PracticeRangeAt(-1), nullptr);
    EXPECT_EQ(PracticeRangeAt(5), nullptr);
}

TEST(UnseededRandom, RepeatsItsSequenceAndStaysBelowOne) {
    UnseededRandom first, second;
    std::set<float> seen;
    for (int i = 0; i < 100000; ++i) {
        const float value = first.Next();
        ASSERT_EQ(value, second.Next());
        ASSERT_GE(value, 0.0f);
        ASSERT_LT(value, 1.0f);
        seen.insert(value);
    }
    EXPECT_GT(seen.size(), 99000u);
}

// The page, recorded.
struct FakeView final : QuizView {
    int position = 0;
    std::string answer;
    Feedback feedback = Feedback::kNone;
    bool details = false;
    std::string your_answer = "?", correct_answer = "?";
    bool repeat = false;
    std::string total_correct, total_played, consecutive;
    std::string focus;
    int range_changes = 0;
    std::function<void()> pending;  // what the learner did while a number was spoken

    int RangePosition() override { return position; }
    void SetRangePosition(int p) override {
        range_changes += p != position;
        position = p;
    }
    std::string AnswerText() override { return answer; }
    void SetAnswerText(const std::string& t) override { answer = t; }
    void SetFeedback(Feedback f) override { feedback = f; }
    void SetDetailsVisible(bool v) override { details = v; }
    void SetYourAnswer(const std::string& t) override { your_answer = t; }
    void SetCorrectAnswer(const std::string& t) override { correct_answer = t; }
    void SetRepeatVisible(bool v) override { repeat = v; }
    void ShowTotalCorrect(int v) override { total_correct = std::to_string(v); }
    void ShowTotalPlayed(int v) override { total_played = std::to_string(v); }
    void ShowConsecutive(int v) override { consecutive = std::to_string(v); }
    void FocusAnswer() override { focus = "answer"; }
    void FocusPlay() override { focus = "play"; }
    void ProcessPendingEvents() override {
        if (auto run = std::exchange(pending, nullptr)) {
            run();
        }
    }
    std::string Score() const {
        return total_correct + " of " + total_played + ", run " + consecutive;
    }
};

class DictationQuizTest : public ::testing::Test {
  protected:
    void SetUp() override { quiz.RestartQuiz(); }

    // Plays a number, then answers it.
    void PlayAndAnswer(const std::string& answer) {
        quiz.PlayRandom_Click();
        view.answer = answer;
        quiz.CheckAnswer_Click();
    }

    FakeView view;
    testing::FixedClock clock;
    testing::ScriptedRandom random;
    testing::RecordedMessages messages;
    testing::RecordingSpeaker reader;
    DictationQuiz quiz{view, clock, random, messages, reader, "."};
};

TEST_F(DictationQuizTest, StartsPendingOnZeroAtTheSecondRange) {
    EXPECT_EQ(view.position, 1);
    EXPECT_EQ(view.Score(), "0 of 0, run 0");
    EXPECT_TRUE(quiz.bCheckAnswer());
    EXPECT_EQ(view.your_answer, "");
    EXPECT_EQ(view.correct_answer, "");
    // A check before any play compares with 0.
    view.answer = "0";
    quiz.CheckAnswer_Click();
    EXPECT_EQ(view.feedback, QuizView::Feedback::kCorrect);
    EXPECT_EQ(view.Score(), "1 of 1, run 1");
    EXPECT_TRUE(reader.spoken.empty());
}

TEST_F(DictationQuizTest, PlaySpeaksTheDrawnNumberAndWaitsForTheAnswer) {
    view.answer = "old";
    view.details = view.repeat = true;
    quiz.PlayRandom_Click();  // s=7, r=0.375, range 0 - 100: 88
    EXPECT_EQ(reader.spoken, std::vector<std::int32_t>{88});
    EXPECT_EQ(quiz.rannum(), 88);
    EXPECT_EQ(view.answer, "");
    EXPECT_FALSE(view.details);
    EXPECT_FALSE(view.repeat);
    EXPECT_EQ(view.focus, "answer");
    EXPECT_EQ(view.Score(), "0 of 0, run 0");  // a play is not a try
}

TEST_F(DictationQuizTest, RightAnswerScoresAndSecondCheckChangesNothing) {
    PlayAndAnswer(" 88 ");
    EXPECT_EQ(view.feedback, QuizView::Feedback::kCorrect);
    EXPECT_FALSE(view.details);
    EXPECT_EQ(view.Score(), "1 of 1, run 1");
    EXPECT_EQ(view.focus, "play");
    EXPECT_FALSE(quiz.bCheckAnswer());
    view.focus = "elsewhere";
    quiz.CheckAnswer_Click();
    EXPECT_EQ(view.Score(), "1 of 1, run 1");
    EXPECT_EQ(view.focus, "elsewhere");
}

TEST_F(DictationQuizTest, EmptyAnswerIsCountedAndTheNumberStaysPending) {
    PlayAndAnswer("");
    EXPECT_EQ(messages.shown,
              (decltype(messages.shown){{"Please enter a number that corresponds to what you hear.",
                                         MessageBox::Icon::kInformation}}));
    EXPECT_EQ(view.Score(), "0 of 1, run 0");
    EXPECT_TRUE(quiz.bCheckAnswer());
    EXPECT_EQ(view.focus, "play");
    view.answer = "88";
    quiz.CheckAnswer_Click();
    EXPECT_EQ(view.Score(), "1 of 2, run 1");
}

TEST_F(DictationQuizTest, WrongAnswerShowsDetailsAndRepeatThenRightAnswer) {
    PlayAndAnswer(" 87");
    EXPECT_EQ(view.feedback, QuizView::Feedback::kWrong);
    EXPECT_TRUE(view.details);
    EXPECT_TRUE(view.repeat);
    EXPECT_EQ(view.your_answer, " 87");
    EXPECT_EQ(view.correct_answer, "88");
    EXPECT_EQ(view.Score(), "0 of 1, run 0");

    quiz.cmdbuttonRepeat_Click();
    EXPECT_EQ(reader.spoken, (std::vector<std::int32_t>{88, 88}));
    EXPECT_FALSE(view.repeat);
    EXPECT_FALSE(view.details);
    EXPECT_EQ(view.feedback, QuizView::Feedback::kNone);
    EXPECT_EQ(view.answer, "");
    view.answer = "88";
    quiz.CheckAnswer_Click();
    EXPECT_EQ(view.Score(), "1 of 2, run 1");
}

TEST_F(DictationQuizTest, ARunEndsWithAWrongAnswer) {
    for (int i = 0; i < 3; ++i) {
        PlayAndAnswer("88");
    }
    EXPECT_EQ(view.Score(), "3 of 3, run 3");
    PlayAndAnswer("1");
    EXPECT_EQ(view.Score(), "3 of 4, run 0");
}

TEST_F(DictationQuizTest, ResetAfterAWrongAnswerLeavesTheDetailsOnShow) {
    PlayAndAnswer("1");
    quiz.cmdbuttonReset_Click();
    EXPECT_EQ(view.Score(), "0 of 0, run 0");
    EXPECT_EQ(view.feedback, QuizView::Feedback::kNone);
    EXPECT_TRUE(view.details);
    EXPECT_TRUE(view.repeat);
    EXPECT_EQ(view.your_answer, "");
    EXPECT_EQ(view.correct_answer, "");
    view.answer = "88";
    quiz.CheckAnswer_Click();  // nothing pending until play or repeat
    EXPECT_EQ(view.Score(), "0 of 0, run 0");
}

TEST_F(DictationQuizTest, RestartKeepsTheNumberAndTheEntry) {
    view.position = 4;
    clock.second = 30;
    random.values = {0.25f};
    PlayAndAnswer("5");
    view.answer = "74992";
    quiz.RestartQuiz();
    EXPECT_EQ(view.position, 1);
    EXPECT_EQ(view.Score(), "0 of 0, run 0");
    EXPECT_FALSE(view.details);
    EXPECT_FALSE(view.repeat);
    EXPECT_EQ(view.answer, "74992");
    EXPECT_EQ(quiz.rannum(), 74992);
    quiz.CheckAnswer_Click();
    EXPECT_EQ(view.Score(), "1 of 1, run 1");
}

TEST_F(DictationQuizTest, FractionsRoundHalfToEvenAndHugeNumbersAreWrong) {
    clock.second = 30;
    random.values = {0.25f, 0.25f, 0.25f, 0.25f};
    view.position = 4;
    PlayAndAnswer("74992.5");
    EXPECT_EQ(view.feedback, QuizView::Feedback::kCorrect);
    PlayAndAnswer("74991.5");
    EXPECT_EQ(view.feedback, QuizView::Feedback::kCorrect);
    PlayAndAnswer("1e20");
    EXPECT_EQ(view.feedback, QuizView::Feedback::kWrong);
    EXPECT_EQ(view.your_answer, "1e20");
    PlayAndAnswer("4294967296");
    EXPECT_EQ(view.feedback, QuizView::Feedback::kWrong);
}

TEST_F(DictationQuizTest, CountersStopAtTheirLimit) {
    for (int i = 0; i < 32767 + 5; ++i) {
        view.answer = "x";
        quiz.CheckAnswer_Click();  // not a number: counted, still pending
    }
    EXPECT_EQ(quiz.TotalPlayed(), 32767);
    EXPECT_EQ(view.total_played, "32767");
    quiz.cmdbuttonReset_Click();
    clock.second = 0;  // at second 0 every number drawn is 0
    for (int i = 0; i < 32767 + 5; ++i) {
        PlayAndAnswer("0");
    }
    EXPECT_EQ(quiz.TotalCorrect(), 32767);
    EXPECT_EQ(quiz.Consecutive(), 32767);
    EXPECT_EQ(quiz.TotalPlayed(), 32767);
}

TEST_F(DictationQuizTest, EnterReleasedChecksAndOtherKeysDoNot) {
    quiz.PlayRandom_Click();
    view.answer = "88";
    quiz.DictationAnswer_KeyUp('8', 0);
    EXPECT_EQ(view.Score(), "0 of 0, run 0");
    quiz.DictationAnswer_KeyUp(DictationQuiz::kEnterKey, 1);
    EXPECT_EQ(view.Score(), "1 of 1, run 1");
}

// Input given while a number is spoken runs after it, inside the play.
struct PendingCase {
    const char* name;
    std::function<void(DictationQuiz&, FakeView&)> action;
    const char* score;
    std::int32_t rannum;
};

class PendingInput : public DictationQuizTest, public ::testing::WithParamInterface<PendingCase> {};

TEST_P(PendingInput, RunsAtThatPointAndLeavesAConsistentScore) {
    PlayAndAnswer("88");  // 1 of 1
    view.pending = [&] { GetParam().action(quiz, view); };
    clock.second = 12;
    random.values = {0.125f};
    view.position = 0;
    quiz.PlayRandom_Click();  // draws 5
    EXPECT_EQ(view.Score(), GetParam().score);
    EXPECT_EQ(quiz.rannum(), GetParam().rannum);
    EXPECT_EQ(view.focus, "answer");
}

INSTANTIATE_TEST_SUITE_P(
    Actions, PendingInput,
    ::testing::Values(
        PendingCase{"Check",
                    [](auto& q, auto& v) {
                        v.answer = "5";
                        q.CheckAnswer_Click();
                    },
                    "2 of 2, run 2", 5},
        PendingCase{"CheckEmpty", [](auto& q, auto&) { q.CheckAnswer_Click(); }, "1 of 2, run 1",
                    5},
        PendingCase{"Reset", [](auto& q, auto&) { q.cmdbuttonReset_Click(); }, "0 of 0, run 0", 5},
        PendingCase{"Repeat", [](auto& q, auto&) { q.cmdbuttonRepeat_Click(); }, "1 of 1, run 1",
                    5},
        PendingCase{"PageSwitch", [](auto& q, auto&) { q.RestartQuiz(); }, "0 of 0, run 0", 5},
        // The second play draws from the second value: 0.375 at second 12 gives 44996, so 6.
        PendingCase{"PlayAgain", [](auto& q, auto&) { q.PlayRandom_Click(); }, "1 of 1, run 1", 6}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talmo
