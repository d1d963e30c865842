#pragma once
#include "data/dbwriter.h"
#include "db/money.h"
#include <QString>
#include <cstdint>
#include <optional>

// The demo business and the large generated files of the benchmarks: made by
// the velorin-db tool, the tests and the benchmarks, never by the program.
namespace dbfile {

// create() plus a realistic demo business; with a QGuiApplication also
// pictures of some vehicles in jpg/ beside the file (plate + ".JPG").
void createDemo(const QString &path, bool force);
// create() plus large synthetic volumes for benchmarks.
void createGenerated(const QString &path, int orders, bool force);

} // namespace dbfile

namespace dbfile::detail {

// Small deterministic generator (splitmix64): the same seed gives the same
// demo on every machine, unlike the standard distributions.
class Rng {
public:
    explicit Rng(uint64_t seed) : m_s(seed) {}
    uint64_t next();
    int below(int n) { return n <= 0 ? 0 : int(next() % uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }   // inclusive
    bool chance(double p) { return double(next() >> 11) * 0x1.0p-53 < p; }
    double unit() { return double(next() >> 11) * 0x1.0p-53; }

private:
    uint64_t m_s;
};

// Costs the business bore for a carrier's trip and what is left to pay: each
// cost is a share of the agreed amount (tolls, fuel on own vehicles, now and
// then fines, labour and other costs), so the payable stays positive.
struct TripCosts {
    std::optional<db::Money> tolls, fuel, fines, labour, other;
    db::Money payable;   // amount − 路桥费 − 劳务费 − 油费 − 罚款 − 其它费用
};
class Insert;
// The seven money columns of a payment in table order: 路桥费, 油费, 罚款,
// 劳务费, 其它费用, 应付运费 and 实付运费 (paid in full, or empty while the
// payment is still to come).
void addCosts(Insert &ins, const TripCosts &c, bool paid = true);
constexpr int CostColumns = 7;
TripCosts tripCosts(Rng &rng, db::Money amount, bool ownVehicle);

} // namespace dbfile::detail
