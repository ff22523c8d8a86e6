#include "engine/Procedures.h"

#include "engine/Engine.h"
#include "engine/EngineHost.h"
#include "engine/GaussLegendre.h"
#include "engine/Grammar.h"
#include "engine/NameResolution.h"
#include "numbers/RealFormat.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirla {

namespace {

/// "Average undefined": a statistic that the list given cannot define.
constexpr int ErrAverageUndefined = 9;

/// Width of the pass texts that the integration compares and shows.
constexpr int PassTextWidth = 21;
/// Grid steps of the scan of one search subinterval.
constexpr int GridSteps = 40;
/// Parabolic steps allowed for refining one extremum candidate.
constexpr int MaxParabolicSteps = 501;
/// The subdivision count stops doubling here, so that repeated searches cannot overflow it.
constexpr int MaxSubdivisions = 1 << 12;

constexpr Extended SolveZeroTolerance = 1e-15L;
constexpr Extended SolveExtremumTolerance = 1e-18L;
constexpr Extended SolveRelativeResidual = 1e-15L;
constexpr Extended SolveNarrowestInterval = 1e-4000L;

/// One point of a function: position and value.
struct Point {
    Extended x = 0;
    Extended f = 0;
};

/// True when `candidate` is strictly better than `incumbent` for the kind of extremum sought.
bool StrictlyBetter(Extended candidate, Extended incumbent, bool maximum) {
    return maximum ? candidate > incumbent : candidate < incumbent;
}

/// A call of "integral(", "solve(", "min(" or "max(": reads the bounds, evaluates the expression
/// in X for trial values and restores X when it ends, however it ends. It counts as running
/// in its context (ctx.OpenProcedures) for as long as it lives. Created with the character
/// after the name's "(" current.
class ProcedureCall {
public:
    ProcedureCall(EvalContext& ctx, std::string_view name)
        : m_ctx(ctx), m_open(ctx.OpenProcedures),
          m_firstArgPos(ctx.Current == EndMarker ? ctx.ReadPos + 1 : ctx.ReadPos),
          m_callStart(m_firstArgPos - static_cast<int>(name.size())), m_savedX(ctx.Variable(1).Value) {}
    ~ProcedureCall() { m_ctx.Variable(1).Value = m_savedX; }
    ProcedureCall(const ProcedureCall&) = delete;
    ProcedureCall& operator=(const ProcedureCall&) = delete;

    EvalContext& Context() { return m_ctx; }
    /// True inside the expression of another procedure, which runs this call once per trial.
    bool Nested() const { return m_open.Depth() > 1; }

    /// Reads "lower,upper," and makes the first character of f(X) current.
    bool ReadBounds(Extended& lower, Extended& upper) {
        // SplitArgument starts reading after the cursor, so step back onto the "(".
        if (m_ctx.Current != EndMarker)
            --m_ctx.ReadPos;
        if (!ReadBound(lower) || !ReadBound(upper))
            return false;
        NextChar(m_ctx);
        m_functionStart = m_ctx.ReadPos;
        m_functionFirst = m_ctx.Current;
        return true;
    }

    /// f(x): reads the expression in X again from its start with X = x. False with the error
    /// set when it fails or gives no finite value.
    bool Evaluate(Extended x, Extended& value) {
        ++m_ctx.TrialEvaluations;
        m_ctx.Variable(1).Value = x;
        m_ctx.ReadPos = m_functionStart;
        m_ctx.Current = m_functionFirst;
        m_ctx.SubExprStart = m_functionStart;
        value = ExprLevel(m_ctx);
        if (m_ctx.ErrorFlag)
            return false;
        // Anything but the closing ")" after f(X) (a fourth argument, say) is refused.
        if (m_ctx.Current != ')' && m_ctx.Current != EndMarker) {
            RaiseEvalError(m_ctx, ErrSyntax);
            return false;
        }
        if (!std::isfinite(value)) {
            RaiseOverCall(ErrOverflow);
            return false;
        }
        return true;
    }

    /// Lets window events through, then asks about a requested break; true means stop (error 22).
    bool Interrupted() {
        PumpMessages(m_ctx);
        return CheckBreak(m_ctx);
    }

    /// Raises `code` with the span covering the whole call, name to closing ")".
    void RaiseOverCall(int code) {
        const int end = CallEnd();
        RaiseEvalErrorSpan(m_ctx, code, m_callStart, end);
    }

private:
    /// Reads one bound up to its "," and evaluates it as a text of its own.
    bool ReadBound(Extended& value) {
        const int start = m_ctx.ReadPos + 1;
        std::string text;
        if (!SplitArgument(m_ctx, text)) {
            RaiseEvalError(m_ctx, m_ctx.Current == EndMarker ? ErrCommaExpected : ErrSyntax);
            return false;
        }
        if (!EvaluateBoundText(text, start, value))
            return false;
        if (m_ctx.Current != ',') {
            RaiseEvalError(m_ctx, ErrSyntax);
            return false;
        }
        return true;
    }

    /// Evaluates `text` that stands at position `start` of the line; an error inside it is
    /// reported at its place in the line.
    bool EvaluateBoundText(const std::string& text, int start, Extended& value) {
        {
            CursorGuard guard(m_ctx);
            StartSeparateText(m_ctx, text);
            value = ExprLevel(m_ctx);
            if (!m_ctx.ErrorFlag && m_ctx.Current != EndMarker)
                RaiseEvalError(m_ctx, ErrSyntax);
            if (!m_ctx.ErrorFlag && !std::isfinite(value))
                RaiseEvalErrorSpan(m_ctx, ErrOverflow, 1, static_cast<int>(text.size()));
        }
        if (!m_ctx.ErrorFlag)
            return true;
        m_ctx.ErrorPos += start - 1;
        // The guard put the cursor back into the line; a failed evaluation ends at its end.
        m_ctx.ReadPos = static_cast<int>(m_ctx.Input.size());
        m_ctx.Current = EndMarker;
        m_ctx.ArgDepth = 0;
        return false;
    }

    /// Position of the call's closing ")" (the end of the text when it has none).
    int CallEnd() const {
        int depth = 1;
        for (int pos = m_firstArgPos; pos <= static_cast<int>(m_ctx.Input.size()); ++pos) {
            const char c = m_ctx.Input[static_cast<std::size_t>(pos - 1)];
            if (c == '(')
                ++depth;
            else if (c == ')' && --depth == 0)
                return pos;
        }
        return static_cast<int>(m_ctx.Input.size());
    }

    EvalContext& m_ctx;
    DepthLevel m_open;
    int m_firstArgPos;
    int m_callStart;
    Extended m_savedX;
    int m_functionStart = 0;
    char m_functionFirst = EndMarker;
};

// --- Integration ---------------------------------------------------------------------------

/// The result of one integration pass and the integral of |f| it implies.
struct PassSum {
    Extended value = 0;
    Extended magnitude = 0;
};

/// One pass of the Gauss-Legendre rule over n equal subintervals of [lower, upper].
bool GaussLegendrePass(ProcedureCall& call, Extended lower, Extended upper, int n, PassSum& sum) {
    const Extended h = (upper - lower) * 0.5L / n;
    for (int i = 1; i <= n; ++i) {
        const Extended centre = h * 2 * (i - 0.5L) + lower;
        Extended weighted = 0;
        Extended weightedMagnitude = 0;
        for (std::size_t k = 0; k < GaussNodes.size(); ++k) {
            for (const Extended x : {centre + h * GaussNodes[k], centre - h * GaussNodes[k]}) {
                Extended value = 0;
                if (!call.Evaluate(x, value))
                    return false;
                weighted += GaussWeights[k] * value;
                weightedMagnitude += GaussWeights[k] * std::fabs(value);
            }
        }
        sum.value += h * weighted;
        sum.magnitude += std::fabs(h) * weightedMagnitude;
        if (call.Interrupted())
            return false;
    }
    if (!std::isfinite(sum.value) || !std::isfinite(sum.magnitude)) {
        call.RaiseOverCall(ErrOverflow);
        return false;
    }
    return true;
}

/// The scientific text of a pass result, as the progress display shows it.
std::string PassText(Extended value) {
    const std::string sign = value < 0 ? "-" : "";
    return sign + DecimalText(NotationScn, PassTextWidth, std::fabs(value), sign, 0, 0);
}

/// Splits a scientific text into its mantissa and its exponent part ("E+3").
std::pair<std::string_view, std::string_view> SplitMantissa(std::string_view text) {
    const std::size_t e = std::min(text.find('E'), text.size());
    return {text.substr(0, e), text.substr(e)};
}

/// The mantissa up to `decimals` places after its point; the zeros trimmed from its end are
/// put back, so that "2.0" and "2.0000000001" agree to nine places.
std::string MantissaPrefix(std::string_view mantissa, int decimals) {
    std::string digits(mantissa);
    if (digits.find('.') == std::string::npos)
        digits += '.';
    const std::size_t wanted = digits.find('.') + 1 + static_cast<std::size_t>(decimals);
    digits.resize(std::max(wanted, digits.size()), '0');
    return digits.substr(0, wanted);
}

/// True when two pass texts agree in sign, exponent and every digit up to `decimals` places
/// after the point.
bool TextsAgree(std::string_view a, std::string_view b, int decimals) {
    const auto [mantissaA, exponentA] = SplitMantissa(a);
    const auto [mantissaB, exponentB] = SplitMantissa(b);
    return exponentA == exponentB &&
           MantissaPrefix(mantissaA, decimals) == MantissaPrefix(mantissaB, decimals);
}

/// True when two pass results differ by a negligible part of the integral of |f|. This ends an
/// integral that cancels to about zero (sin over a whole period), whose rounding noise would
/// never agree digit by digit.
bool NegligibleChange(const PassSum& newer, Extended older, int decimals) {
    return std::fabs(newer.value - older) <= newer.magnitude * std::pow(10.0L, -(decimals + 2));
}

// --- Extremum search -----------------------------------------------------------------------

/// The next trial point of the parabola through three points l < m < r.
Extended ParabolaStep(const Point& l, const Point& m, const Point& r) {
    const Extended dm = m.f - l.f;
    const Extended dr = r.x - l.x;
    const Extended dl = m.x - l.x;
    const Extended a = (r.f - l.f) * dl;
    const Extended b = a - dm * dr;
    const Extended c = dr * dm * dr - dl * a;
    const Extended fallback = 0.4L * l.x + 0.6L * r.x;
    if (b == 0)
        return fallback;
    const Extended next = l.x - c / (2 * b);
    // Too close to the middle of the bracket, or outside it (or not a number): take the
    // fixed split instead, so that the search stays inside the interval.
    if (!(next > l.x && next < r.x) || std::fabs(next - (l.x + r.x) / 2) < (r.x - l.x) * 0.001L)
        return fallback;
    return next;
}

/// Refines the minimum of sign*f bracketed by l < m < r (values already multiplied by sign)
/// with parabolic steps. `result` gets the position and f's own value there.
bool RefineParabolic(ProcedureCall& call, Point l, Point m, Point r, Extended sign, Point& result) {
    for (int step = 0; step < MaxParabolicSteps; ++step) {
        if (call.Interrupted())
            return false;
        Point next{ParabolaStep(l, m, r), 0};
        if (!call.Evaluate(next.x, next.f))
            return false;
        next.f *= sign;
        if (std::fabs(next.f - m.f) - std::fabs(m.f) * 1e-6L - 1e-20L < 0) {
            result = {next.x, next.f * sign};
            return true;
        }
        if (next.x < m.x) {
            if (next.f < m.f)
                r = std::exchange(m, next);
            else
                l = next;
        } else {
            if (next.f < m.f)
                l = std::exchange(m, next);
            else
                r = next;
        }
    }
    call.RaiseOverCall(ErrExtremumNotFound);
    return false;
}

/// Searches one subinterval: a grid scan of 40 steps, then parabolic refinement of the grid's
/// turning points of the wanted kind. `best` gets the best point, its value rounded to double.
bool SearchSubinterval(ProcedureCall& call, Extended l, Extended u, bool maximum, Point& best) {
    if (l > u)
        std::swap(l, u);
    const Extended d = (u - l) / GridSteps;
    std::array<Point, GridSteps + 1> grid;
    for (int k = 0; k <= GridSteps; ++k) {
        Point& p = grid[static_cast<std::size_t>(k)];
        p.x = k == GridSteps ? u : l + d * k;
        if (!call.Evaluate(p.x, p.f))
            return false;
    }
    best = StrictlyBetter(grid.front().f, grid.back().f, maximum) ? grid.front() : grid.back();

    // Inner turning points of the grid; they alternate between minima and maxima.
    const auto falling = [&grid](int k) {
        return grid[static_cast<std::size_t>(k - 1)].f >= grid[static_cast<std::size_t>(k)].f;
    };
    std::vector<int> turns;
    for (int k = 1; k < GridSteps; ++k)
        if (falling(k) != falling(k + 1))
            turns.push_back(k);

    if (!turns.empty()) {
        const bool firstIsMinimum = falling(turns.front());
        const Extended sign = maximum ? -1 : 1;
        const auto scaled = [sign](Point p) { return Point{p.x, p.f * sign}; };
        for (std::size_t j = firstIsMinimum == !maximum ? 0 : 1; j < turns.size(); j += 2) {
            const auto k = static_cast<std::size_t>(turns[j]);
            Point refined;
            if (!RefineParabolic(call, scaled(grid[k - 1]), scaled(grid[k]), scaled(grid[k + 1]), sign,
                                 refined))
                return false;
            if (!StrictlyBetter(best.f, refined.f, maximum))
                best = refined;
        }
    }
    // The current extreme value is kept in double precision.
    best.f = static_cast<double>(best.f);
    return true;
}

/// Starts the subdivision count afresh for a new interval or line, or doubles it when the same
/// search is asked again, so that repeating a search refines it.
void UpdateSubdivisions(EvalContext& ctx, Extended lower, Extended upper) {
    if (lower != ctx.LastLower || upper != ctx.LastUpper || ctx.Input != ctx.LastSearchText) {
        ctx.Subdivisions = 1;
        ctx.LastLower = lower;
        ctx.LastUpper = upper;
        ctx.LastSearchText = ctx.Input;
    } else if (ctx.Subdivisions <= MaxSubdivisions / 2) {
        ctx.Subdivisions *= 2;
    }
}

/// The absolute extremum of f on [lower, upper]; its value and position are kept in ctx.
bool SearchInterval(ProcedureCall& call, Extended lower, Extended upper, bool maximum, Extended& extreme) {
    EvalContext& ctx = call.Context();
    ctx.SearchMaximum = maximum;
    // A search repeated for every trial of an outer procedure is not the user asking again:
    // it keeps one subdivision and leaves the remembered search alone.
    if (!call.Nested())
        UpdateSubdivisions(ctx, lower, upper);
    const int n = call.Nested() ? 1 : std::max(ctx.Subdivisions, 1);
    const Extended width = (upper - lower) / n;
    for (int i = 0; i < n; ++i) {
        const Extended l = lower + width * i;
        const Extended u = i + 1 == n ? upper : lower + width * (i + 1);
        Point found;
        if (!SearchSubinterval(call, l, u, maximum, found))
            return false;
        if (i == 0 || StrictlyBetter(found.f, ctx.BestExtremumValue, maximum)) {
            ctx.BestExtremumValue = found.f;
            ctx.BestExtremumPos = found.x;
        }
        if (call.Interrupted())
            return false;
    }
    extreme = ctx.BestExtremumValue;
    return true;
}

// --- Root finding --------------------------------------------------------------------------

/// True when a and b are both positive or both negative (a product test could underflow).
bool SameSign(Extended a, Extended b) {
    return (a > 0 && b > 0) || (a < 0 && b < 0);
}

/// Bisection of [a, b] where f changes sign; fb = f(b), scale = |f(b) - f(a)|.
bool Bisect(ProcedureCall& call, Extended a, Extended b, Extended fb, Extended scale, Extended& root) {
    for (;;) {
        const Extended m = (b - a) * 0.5L + a;
        // An interval that cannot be split any further holds a jump, not a root.
        if (std::fabs(b - a) < SolveNarrowestInterval || !(a < m && m < b)) {
            call.RaiseOverCall(ErrSingularity);
            return false;
        }
        Extended fm = 0;
        if (!call.Evaluate(m, fm))
            return false;
        if (SameSign(fm, fb))
            b = m;
        else
            a = m;
        if (call.Interrupted())
            return false;
        if (std::fabs(fm) / scale < SolveRelativeResidual) {
            root = m;
            return true;
        }
    }
}

// --- Lists ---------------------------------------------------------------------------------

/// A call of a list procedure, created with the name's "(" current.
class ListCall {
public:
    ListCall(EvalContext& ctx, std::string_view name)
        : m_ctx(ctx), m_callStart(ctx.ReadPos - static_cast<int>(name.size())) {}

    /// Reads the elements, handing each value to `take` (which may refuse it by raising an
    /// error and returning false); leaves the list's ")" current.
    template <class Take> bool Read(Take&& take) {
        if (m_ctx.Current != '(') {
            RaiseEvalError(m_ctx, ErrMissingOpen);
            return false;
        }
        const DepthLevel arguments(m_ctx.ArgDepth);
        do {
            NextChar(m_ctx);
            const Extended value = ExprLevel(m_ctx);
            if (m_ctx.ErrorFlag || !take(value))
                return false;
        } while (m_ctx.Current == ',');
        if (m_ctx.Current != ')' && m_ctx.Current != EndMarker) {
            RaiseEvalError(m_ctx, ErrSyntax);
            return false;
        }
        return true;
    }

    /// Ends the call with `value`, or raises "Overflow" when the value is not finite. The
    /// list's ")" stays current; the operand reader reads past it.
    Extended Finish(Extended value) { return std::isfinite(value) ? value : Fail(ErrOverflow); }

    /// Raises `code` over the whole call and gives 0.
    Extended Fail(int code) {
        m_ctx.PrevValue = 0;
        RaiseEvalErrorSpan(m_ctx, code, m_callStart, m_ctx.ReadPos);
        return 0;
    }

    /// Stores an element as a double; a value beyond the double range raises "Overflow".
    bool StoreDouble(Extended value, std::vector<double>& values) {
        const auto stored = static_cast<double>(value);
        if (!std::isfinite(stored)) {
            Fail(ErrOverflow);
            return false;
        }
        values.push_back(stored);
        return true;
    }

private:
    EvalContext& m_ctx;
    int m_callStart;
};

/// Count, sum, mean and sum of squared deviations of a list, accumulated element by element
/// (Welford's update, which stays exact-ish where sum of squares minus squared sum cancels).
struct ListMoments {
    long count = 0;
    Extended sum = 0;
    Extended mean = 0;
    Extended squaredDeviations = 0;

    void Add(Extended x) {
        ++count;
        sum += x;
        const Extended delta = x - mean;
        mean += delta / static_cast<Extended>(count);
        squaredDeviations += delta * (x - mean);
    }
    /// The sample standard deviation; needs two elements.
    Extended SampleStd() const { return std::sqrt(squaredDeviations / static_cast<Extended>(count - 1)); }
};

/// Reads a list into moments; with two or more elements the standard-deviation register gets
/// their sample standard deviation.
bool ReadMoments(EvalContext& ctx, ListCall& call, ListMoments& moments) {
    if (!call.Read([&moments](Extended x) {
            moments.Add(x);
            return true;
        }))
        return false;
    if (moments.count < 2)
        return true;
    const Extended deviation = moments.SampleStd();
    if (!std::isfinite(deviation)) {
        call.Fail(ErrOverflow);
        return false;
    }
    ctx.StdRegister = deviation;
    return true;
}

} // namespace

Extended Integral(EvalContext& ctx) {
    ProcedureCall call(ctx, "integral(");
    Extended lower = 0;
    Extended upper = 0;
    if (!call.ReadBounds(lower, upper))
        return 0;
    ctx.LastLower = lower;
    ctx.LastUpper = upper;
    const int decimals = std::clamp(ctx.Host->PrecisionSetting(), 0, 18);
    std::string olderText;
    Extended older = 0;
    // A local count: an inner procedure in f(X) may change the shared one during a pass.
    for (int n = 1;; n *= 2) {
        ctx.Subdivisions = n;
        PassSum pass;
        if (!GaussLegendrePass(call, lower, upper, n, pass))
            return 0;
        std::string newerText = PassText(pass.value);
        if (n > 1) {
            if (newerText == olderText)
                return pass.value;
            ctx.Host->ShowProgress(newerText);
            if (TextsAgree(newerText, olderText, decimals) || NegligibleChange(pass, older, decimals))
                return pass.value;
        }
        olderText = std::move(newerText);
        older = pass.value;
    }
}

Extended Solve(EvalContext& ctx) {
    ProcedureCall call(ctx, "solve(");
    Extended a = 0;
    Extended b = 0;
    if (!call.ReadBounds(a, b))
        return 0;
    if (a > b) {
        call.RaiseOverCall(ErrInterval);
        return 0;
    }
    Extended fa = 0;
    Extended fb = 0;
    if (!call.Evaluate(a, fa) || !call.Evaluate(b, fb))
        return 0;
    Extended scale = std::fabs(fb - fa);
    if (SameSign(fa, fb)) {
        // No sign change at the ends: look for an inner extremum on the other side of zero and
        // go on from the best point that the search found.
        const bool maximum = fa < 0;
        ctx.LastSearchText.clear();
        Extended extreme = 0;
        if (!SearchInterval(call, a, b, maximum, extreme))
            return 0;
        const bool crossesZero =
            maximum ? extreme > -SolveExtremumTolerance : extreme < SolveExtremumTolerance;
        if (!crossesZero) {
            call.RaiseOverCall(ErrInterval);
            return 0;
        }
        a = ctx.BestExtremumPos;
        fa = extreme;
        scale = std::fabs(fb - fa);
    }
    if (std::fabs(fa) < SolveZeroTolerance)
        return a;
    if (fb == 0)
        return b;
    Extended root = 0;
    return Bisect(call, a, b, fb, scale, root) ? root : 0;
}

Extended SearchExtremum(EvalContext& ctx, bool maximum) {
    ProcedureCall call(ctx, maximum ? "max(" : "min(");
    Extended lower = 0;
    Extended upper = 0;
    if (!call.ReadBounds(lower, upper))
        return 0;
    Extended extreme = 0;
    return SearchInterval(call, lower, upper, maximum, extreme) ? extreme : 0;
}

Extended ListMean(EvalContext& ctx) {
    ListCall call(ctx, "mean");
    ListMoments moments;
    if (!ReadMoments(ctx, call, moments))
        return 0;
    return call.Finish(moments.sum / static_cast<Extended>(moments.count));
}

Extended ListStd(EvalContext& ctx) {
    ListCall call(ctx, "std");
    ListMoments moments;
    if (!ReadMoments(ctx, call, moments))
        return 0;
    // One value has no sample standard deviation.
    if (moments.count < 2)
        return call.Fail(ErrAverageUndefined);
    return call.Finish(ctx.StdRegister);
}

Extended ListSum(EvalContext& ctx) {
    ListCall call(ctx, "sum");
    Extended sum = 0;
    if (!call.Read([&sum](Extended x) {
            sum += x;
            return true;
        }))
        return 0;
    return call.Finish(sum);
}

Extended ListPoly(EvalContext& ctx) {
    ListCall call(ctx, "poly");
    bool first = true;
    Extended x = 0;
    std::vector<double> coefficients;
    if (!call.Read([&](Extended value) {
            if (!std::exchange(first, false)) {
                return call.StoreDouble(value, coefficients);
            }
            x = value;
            return true;
        }))
        return 0;
    Extended result = 0;
    for (auto a = coefficients.rbegin(); a != coefficients.rend(); ++a)
        result = result * x + *a;
    return call.Finish(result);
}

Extended ListStat(EvalContext& ctx) {
    ListCall call(ctx, "stat");
    std::vector<double> values;
    if (!call.Read([&](Extended value) { return call.StoreDouble(value, values); }))
        return 0;
    // Sum of squared deviations from the mean, taken in two passes so that large values with
    // a small spread do not cancel away.
    Extended sum = 0;
    for (const double v : values)
        sum += v;
    const Extended mean = sum / static_cast<Extended>(values.size());
    Extended total = 0;
    for (const double v : values)
        total += (v - mean) * (v - mean);
    return call.Finish(total);
}

} // namespace mirla
