#include "EngineTestSupport.h"

#include "engine/NameTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace mirla {
namespace {

using test::Outcome;
using test::RunLine;
using test::ScriptedHost;

TEST(NameTable, HasEightyEightRowsWhoseCodesAreTheirRowNumbers) {
    const auto& table = NameTable();
    ASSERT_EQ(table.size(), 88U);
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].code, static_cast<int>(i));
        EXPECT_TRUE(names.insert(table[i].name).second) << table[i].name;
        EXPECT_LE(table[i].name.size(), 23U);
        const bool takesArguments = table[i].argc > 0;
        EXPECT_EQ(table[i].name.back() == '(', takesArguments) << table[i].name;
    }
    EXPECT_EQ(table[31].name, "n!(");
    EXPECT_EQ(table[45].name, "ft_m(");
    EXPECT_EQ(table[66].name, "cm_bigl(");
    EXPECT_EQ(table[87].name, "10^(");
}

TEST(NameTable, LookUpFollowsTheTerminatorRule) {
    EXPECT_EQ(LookUpBuiltinName("sin("), FnSin);
    EXPECT_EQ(LookUpBuiltinName("pi*"), FnPi);
    EXPECT_EQ(LookUpBuiltinName("pi\x7F"), FnPi);
    EXPECT_EQ(LookUpBuiltinName("e+"), FnE);
    EXPECT_EQ(LookUpBuiltinName("X^"), 77);
    EXPECT_EQ(LookUpBuiltinName("x)"), 67);
    EXPECT_EQ(LookUpBuiltinName("pie\x7F"), NotFoundCode);
    EXPECT_EQ(LookUpBuiltinName("sin+"), NotFoundCode);
}

TEST(Names, ConstantsNeedATerminator) {
    EvalContext ctx;
    EXPECT_EQ(RunLine(ctx, "pi*2").value, 2 * Pi);
    EXPECT_EQ(RunLine(ctx, "\xB6").value, Pi);
    EXPECT_EQ(RunLine(ctx, "\xB6*2").value, 2 * Pi);
    EXPECT_EQ(RunLine(ctx, "e").value, EulerE);
    const Outcome pie = RunLine(ctx, "1+pie");
    EXPECT_TRUE(pie.failed);
    EXPECT_EQ(pie.position, 3);
    EXPECT_EQ(pie.length, 3);
}

TEST(Names, TheEngineConstantsHaveTheirExactBits) {
    EXPECT_EQ(Pi, 3.14159265358979323873L);
    EXPECT_EQ(EulerE, 2.71828182845904523521L);
    EXPECT_EQ(UndefinedValue, 0.123454321L);
    EXPECT_EQ(OneOver180, 1.0L / 180);
}

TEST(OneLetterVariables, AssignmentAndReading) {
    EvalContext ctx;
    const Outcome assigned = RunLine(ctx, "(X=3)+X");
    EXPECT_EQ(assigned.value, 6);
    EXPECT_EQ(ctx.Variable(1).Value, 3);
    EXPECT_EQ(ctx.Variable(1).Definition, "3");
    EXPECT_EQ(RunLine(ctx, "x*2").value, 6) << "x and X are the same variable";
    EXPECT_EQ(RunLine(ctx, "(x=2*pi)").value, 2 * Pi);
    EXPECT_EQ(ctx.Variable(1).Definition, "2*pi");
    EXPECT_EQ(RunLine(ctx, "(X=X+1)").value, 2 * Pi + 1)
        << "the old value is read before the new one is stored";
}

TEST(OneLetterVariables, AssignmentErrors) {
    EvalContext ctx;
    const Outcome noParenthesis = RunLine(ctx, "X=3");
    EXPECT_EQ(noParenthesis.code, ErrMissingOpen);
    const Outcome failed = RunLine(ctx, "(Y=1/0)");
    EXPECT_EQ(failed.code, ErrDivisionByZero);
    EXPECT_FALSE(IsSet(ctx.Variable(2).Value)) << "a failed assignment stores nothing";
    EXPECT_TRUE(ctx.Variable(2).Definition.empty());
}

TEST(OneLetterVariables, UsedVariablesAreRecordedInOrder) {
    EvalContext ctx;
    RunLine(ctx, "(X=4)+(Y=5)");
    ctx.UsedVariables.Clear();
    RunLine(ctx, "X^2+Y+X");
    ASSERT_EQ(ctx.UsedVariables.Count(), 3);
    EXPECT_EQ(ctx.UsedVariables[0].Name(), "X");
    EXPECT_EQ(ctx.UsedVariables[0].Value, 4);
    EXPECT_EQ(ctx.UsedVariables[1].Name(), "Y");
    EXPECT_EQ(ctx.UsedVariables[2].Name(), "X");
}

TEST(OneLetterVariables, UnsetVariableIsAskedFor) {
    EvalContext ctx;
    ScriptedHost host;
    ctx.SetHost(&host);
    host.answer = "2 + 5";
    const Outcome outcome = RunLine(ctx, "Z*10");
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.value, 70);
    EXPECT_EQ(host.asked, 1);
    EXPECT_EQ(ctx.Variable(3).Value, 7);
    EXPECT_EQ(ctx.Variable(3).Definition, "2+5");
    EXPECT_EQ(ctx.Input, "Z*10") << "the input text is restored after the question";

    host.answer.clear();
    const Outcome cancelled = RunLine(ctx, "1+V");
    EXPECT_TRUE(cancelled.failed);
    EXPECT_EQ(cancelled.code, ErrUserBreak);
}

TEST(OneLetterVariables, UnsetVariableWithDefinitionIsRecomputed) {
    EvalContext ctx;
    RunLine(ctx, "(Y=2)");
    ctx.Variable(1).Definition = "Y*3";
    EXPECT_EQ(RunLine(ctx, "X+1").value, 7);
    EXPECT_EQ(ctx.Variable(1).Value, 6);
    ctx.Variable(1).Value = UndefinedValue;
    ctx.Variable(1).Definition = "X+1";
    const Outcome selfReference = RunLine(ctx, "X");
    EXPECT_TRUE(selfReference.failed);
    EXPECT_EQ(selfReference.code, ErrStackOverflow);
}

TEST(OneLetterVariables, HoldingTheUndefinedValueMeansNotSet) {
    EvalContext ctx;
    ctx.Variable(4).Value = 0.123454321L;
    EXPECT_EQ(RunLine(ctx, "V").code, ErrUserBreak);
}

TEST(UserVariablesInExpressions, AssignmentInsideAnExpression) {
    EvalContext ctx;
    const Outcome outcome = RunLine(ctx, "(Rate=0.05)*200");
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.value, 0.05L * 200);
    ASSERT_EQ(ctx.UserVariables.Count(), 1);
    EXPECT_EQ(ctx.UserVariables.At(0).Name, "Rate");
    EXPECT_EQ(RunLine(ctx, "Rate*2").value, 0.1L);
    EXPECT_EQ(RunLine(ctx, "rate").code, ErrSyntax) << "names are case-sensitive";
    const Outcome unclosed = RunLine(ctx, "Rate=3");
    EXPECT_EQ(unclosed.code, ErrSyntax);
    EXPECT_EQ(unclosed.position, 1);
}

TEST(UserVariablesInExpressions, CodesStayWithTheirVariablesAfterADeletionInTheMiddle) {
    EvalContext ctx;
    RunLine(ctx, "(a=1)+(b=2)+(c=3)");
    ASSERT_EQ(ctx.UserVariables.Count(), 3);
    ctx.UserVariables.Delete(1); // b, in the middle
    RunLine(ctx, "(d=4)");
    EXPECT_EQ(RunLine(ctx, "a").value, 1);
    EXPECT_EQ(RunLine(ctx, "c").value, 3);
    EXPECT_EQ(RunLine(ctx, "d").value, 4);
    EXPECT_EQ(RunLine(ctx, "b").code, ErrSyntax);
}

TEST(UserFunctionCalls, ArgumentsAreSubstitutedAsText) {
    EvalContext ctx;
    std::string message;
    ASSERT_TRUE(ctx.UserFunctions.AddDefinition("f(x) = x^2", message)) << message;
    ASSERT_TRUE(ctx.UserFunctions.AddDefinition("dist(x,y) = sqrt(x^2+y^2) ;Euclidean", message)) << message;
    EXPECT_EQ(RunLine(ctx, "f(1+2)").value, 5);
    EXPECT_EQ(RunLine(ctx, "f((1+2))").value, 9);
    EXPECT_EQ(RunLine(ctx, "dist(3,4)*2").value, 10);
    EXPECT_EQ(RunLine(ctx, "-f(3)").value, -9);
    EXPECT_EQ(RunLine(ctx, "f(2*(1+1))").value, 2 * 4);
}

TEST(UserFunctionCalls, MissingArgumentAndErrorsInsideTheBody) {
    EvalContext ctx;
    std::string message;
    ASSERT_TRUE(ctx.UserFunctions.AddDefinition("g(a,b) = a/b", message));
    const Outcome missing = RunLine(ctx, "g(1)");
    EXPECT_EQ(missing.code, ErrMissingArgument);
    const Outcome inner = RunLine(ctx, "2+g(1,0)");
    EXPECT_EQ(inner.code, ErrUserFunction);
    EXPECT_EQ(inner.position, 3);
    EXPECT_EQ(inner.length, 6);
    EXPECT_EQ(ErrorText(ErrUserFunction, ctx.InnerErrorCode, ctx.InnerErrorPos),
              "User Function Error \"Division by zero position: 2\" ");
}

TEST(UserFunctionCalls, SelfRecursionFailsCleanly) {
    EvalContext ctx;
    std::string message;
    ASSERT_TRUE(ctx.UserFunctions.AddDefinition("f(x) = f(x)", message));
    const Outcome outcome = RunLine(ctx, "f(1)");
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.code, ErrStackOverflow);
}

TEST(UserFunctionCalls, CallsOfCallsCanBeStoppedAndArgumentsCannotGrowABodyWithoutEnd) {
    EvalContext ctx;
    ScriptedHost host;
    host.context = &ctx;
    host.breakAfterPumps = 1;
    ctx.SetHost(&host);
    std::string message;
    // Each call of c evaluates a ten to the power of twenty times: only a break ends it.
    for (const char* definition :
         {"a(x) = x+x+x+x+x+x+x+x+x+x", "b(x) = a(a(a(a(a(x)))))", "c(x) = b(b(b(b(x))))",
          "h(x) = x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x*x"}) {
        ASSERT_TRUE(ctx.UserFunctions.AddDefinition(definition, message)) << message;
    }
    const Outcome stopped = RunLine(ctx, "c(1)");
    EXPECT_EQ(stopped.code, ErrUserBreak);
    EXPECT_EQ(host.confirmations, 1);

    host.breakAfterPumps = -1;
    std::string sum = "0";
    while (sum.size() < 40000)
        sum += "+1";
    const Outcome grown = RunLine(ctx, "h(" + sum + ")");
    EXPECT_EQ(grown.code, ErrStackOverflow);
    EXPECT_EQ(grown.position, 1);
    EXPECT_EQ(RunLine(ctx, "h(2)").value, 4294967296.0L);
}

TEST(ErrorTexts, MessagesOfTheCodes) {
    EXPECT_EQ(ErrorText(0), "Syntax error");
    EXPECT_EQ(ErrorText(1), "Undefined");
    EXPECT_EQ(ErrorText(5), "Undefined");
    EXPECT_EQ(ErrorText(99), "Undefined");
    EXPECT_EQ(ErrorText(16), "Too many \")\"");
    EXPECT_EQ(ErrorText(20), "\",\" expected");
    EXPECT_EQ(ErrorText(22), "User break");
    EXPECT_EQ(ErrorText(28), "Underflow");
    EXPECT_LE(ErrorText(27, 27, 123456).size(), 80U);
}

TEST(InputPreparation, ParenthesisChecksAndPositionMapping) {
    EvalContext ctx;
    EXPECT_EQ(RunLine(ctx, "(1+2))").code, ErrTooManyClosing);
    EXPECT_EQ(RunLine(ctx, "(1+2))").position, 6);
    const Outcome missing = RunLine(ctx, "((1+2)");
    EXPECT_EQ(missing.code, ErrMissingClose);
    EXPECT_EQ(missing.position, 6);
    const Outcome reversed = RunLine(ctx, "1)+(2");
    EXPECT_EQ(reversed.code, ErrSyntax);
    EXPECT_EQ(reversed.position, 2);
    const Outcome mapped = RunLine(ctx, "  1 + ( 2 /  0 )");
    EXPECT_EQ(mapped.code, ErrDivisionByZero);
    EXPECT_EQ(mapped.position, 14);
    const Outcome spanMapped = RunLine(ctx, "8 / ( 1 - 1 )");
    EXPECT_EQ(spanMapped.position, 5);
    EXPECT_EQ(spanMapped.length, 9);
}

} // namespace
} // namespace mirla
