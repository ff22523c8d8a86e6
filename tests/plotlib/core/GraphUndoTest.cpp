#include "plotlib/core/GraphUndo.h"

#include <gtest/gtest.h>

#include <vector>

namespace mirla {
namespace {

TEST(GraphUndo, EachStepIsASeparatorAndAnActionRecord) {
    TGraphUndo undo;
    const int series = 0;
    const double point = 0;
    undo.Push(&series, UndoSelectOn);
    undo.Push(&point, UndoMove);
    EXPECT_EQ(undo.StepCount(), 2);
    const std::vector<TUndoRecord> expected = {{15, nullptr}, {3, &series}, {15, nullptr}, {11, &point}};
    EXPECT_EQ(undo.Records(), expected);
}

TEST(GraphUndo, ActionCodes) {
    TGraphUndo undo;
    const int series = 0;
    for (const int code : {UndoEdit, UndoSelectOff, UndoSelectOn, UndoMove})
        undo.Push(&series, code);
    std::vector<int> codes;
    for (std::size_t i = 1; i < undo.Records().size(); i += 2)
        codes.push_back(undo.Records()[i].Code);
    EXPECT_EQ(codes, (std::vector<int>{0, 2, 3, 11}));
}

TEST(GraphUndo, ClearEmptiesTheJournal) {
    TGraphUndo undo;
    const int series = 0;
    undo.Push(&series, UndoEdit);
    undo.Clear();
    EXPECT_EQ(undo.StepCount(), 0);
    EXPECT_TRUE(undo.Records().empty());
}

TEST(GraphUndo, EnablesOnFirstStepAndDisablesOnClear) {
    TGraphUndo undo;
    std::vector<bool> notices;
    undo.OnEnabledChanged = [&notices](bool enabled) { notices.push_back(enabled); };
    const int series = 0;
    undo.Push(&series, UndoSelectOn);
    undo.Push(&series, UndoSelectOff);
    undo.Clear();
    undo.Clear();
    undo.Push(&series, UndoEdit);
    EXPECT_EQ(notices, (std::vector<bool>{true, false, true}));
}

} // namespace
} // namespace mirla
