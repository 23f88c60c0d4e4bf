#include "tests/support/RandomOperator.h"

#include "tests/support/RandomRun.h"

#include <sstream>

namespace kivo::testing {

using randomop::Run;

void Tally::Add(const Tally& o)
{
    for (const auto& [k, n] : o.reached)
        reached[k] += n;
    for (const auto& [k, n] : o.faults)
        faults[k] += n;
    for (const auto& [k, n] : o.skipped)
        skipped[k] += n;
    steps += o.steps;
    checks += o.checks;
    agreements += o.agreements;
    virtualSeconds += o.virtualSeconds;
}

std::string Tally::Text() const
{
    std::ostringstream o;
    long faultCount = 0;
    for (const auto& [k, n] : faults)
        faultCount += n;
    o << steps << " steps, " << long(virtualSeconds) << " s of virtual time, " << checks << " invariant checks, "
      << agreements << " agreement checks, " << faultCount << " faults injected\n  reached:";
    for (const auto& [k, n] : reached)
        o << " " << k << " " << n << ",";
    o << "\n  faults:";
    for (const auto& [k, n] : faults)
        o << " " << k << " " << n << ",";
    o << "\n  quiet periods not compared:";
    for (const auto& [k, n] : skipped)
        o << " " << k << " " << n << ",";
    return o.str();
}

Outcome RunSteps(const std::vector<Step>& steps, Tally* tally)
{
    Tally local;
    Tally& t = tally ? *tally : local;
    Run run(t);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (std::string broken = run.Do(steps[i]); !broken.empty())
            return {true, i, broken};
    }
    if (std::string broken = run.Quiet(); !broken.empty())
        return {true, steps.size(), broken};
    return {};
}

namespace {

// The invariant's name: the text before its first colon.
std::string Kind(const std::string& what) { return what.substr(0, what.find(':')); }

} // namespace

std::vector<Step> Shrink(const std::vector<Step>& steps, const Outcome& failure, int replays)
{
    const std::string kind = Kind(failure.what);
    std::vector<Step> cur(steps.begin(), steps.begin() + std::ptrdiff_t(std::min(failure.step + 1, steps.size())));
    const auto fails = [&](const std::vector<Step>& v) {
        if (replays-- <= 0)
            return false;
        const Outcome o = RunSteps(v);
        return o.failed && Kind(o.what) == kind;
    };
    // Delta debugging: drop chunks while the failure stays, finer as it stops shrinking.
    std::size_t n = 2;
    while (cur.size() >= 2 && replays > 0) {
        const std::size_t chunk = (cur.size() + n - 1) / n;
        bool reduced = false;
        for (std::size_t start = 0; start < cur.size() && replays > 0; start += chunk) {
            std::vector<Step> rest(cur.begin(), cur.begin() + std::ptrdiff_t(start));
            rest.insert(rest.end(), cur.begin() + std::ptrdiff_t(std::min(cur.size(), start + chunk)), cur.end());
            if (!rest.empty() && fails(rest)) {
                cur = std::move(rest);
                n = std::max<std::size_t>(n - 1, 2);
                reduced = true;
                break;
            }
        }
        if (!reduced) {
            if (n >= cur.size())
                break;
            n = std::min(cur.size(), n * 2);
        }
    }
    return cur;
}

std::string Report(const std::vector<Step>& steps, const Outcome& failure)
{
    std::ostringstream o;
    o << failure.what << "\n  after step " << failure.step + 1 << " of " << steps.size() << ":\n";
    for (std::size_t i = 0; i < steps.size(); ++i)
        o << "  " << i + 1 << ". " << Describe(steps[i]) << "    " << Literal(steps[i]) << ",\n";
    return o.str();
}

} // namespace kivo::testing
