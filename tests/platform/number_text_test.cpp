#include "platform/number_text.h"

#include <gtest/gtest.h>

TEST(NumberText, WholeFiniteNumbersOnly)
{
    struct Case {
        const char* text;
        NumberProblem problem;
        double value;
    } cases[] = {
        {"65.4", NumberProblem::None, 65.4},
        {"-0.5", NumberProblem::None, -0.5},
        {"1e2", NumberProblem::None, 100.0},
        {"", NumberProblem::NotANumber, 0},
        {"+1", NumberProblem::NotANumber, 0},
        {" 1", NumberProblem::NotANumber, 0},
        {"1 ", NumberProblem::NotANumber, 0},
        {"1,5", NumberProblem::NotANumber, 0},
        {"0x10", NumberProblem::NotANumber, 0},
        {"1e999", NumberProblem::OutOfRange, 0},
        {"inf", NumberProblem::NotFinite, 0},
        {"nan", NumberProblem::NotFinite, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double value = -7.0;
        EXPECT_EQ(ParseFiniteNumber(c.text, value), c.problem);
        EXPECT_EQ(value, c.problem == NumberProblem::None ? c.value : -7.0) << "a refused text leaves the value alone";
    }
}
