#include "generators/generators.h"
#include <algorithm>

namespace dbfile::detail {

uint64_t Rng::next()
{
    uint64_t z = (m_s += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

void addCosts(Insert &ins, const TripCosts &c, bool paid)
{
    ins.add(c.tolls).add(c.fuel).add(c.fines).add(c.labour).add(c.other).add(c.payable);
    if (paid)
        ins.add(c.payable);
    else
        ins.null();
}

TripCosts tripCosts(Rng &rng, db::Money amount, bool ownVehicle)
{
    using db::Money;
    // A share of the amount in whole tens of yuan, at least ten.
    auto share = [&](int loPercent, int hiPercent) {
        const qint64 tens = amount.raw() * rng.between(loPercent, hiPercent) / (100 * 10 * Money::Scale);
        return Money::fromRaw(std::max<qint64>(1, tens) * 10 * Money::Scale);
    };
    TripCosts c;
    if (rng.chance(0.6))
        c.tolls = share(12, 18);
    if (ownVehicle || rng.chance(0.15))
        c.fuel = share(25, 35);
    if (rng.chance(0.06) && amount >= Money::fromRaw(1000 * Money::Scale))
        c.fines = Money::fromRaw((rng.chance(0.5) ? 100 : 200) * Money::Scale);
    if (rng.chance(0.3))
        c.labour = share(3, 8);
    if (rng.chance(0.1))
        c.other = share(1, 3);
    c.payable = amount;
    for (const auto &cost : {c.tolls, c.labour, c.fuel, c.fines, c.other})
        if (cost)
            c.payable -= *cost;
    return c;
}

} // namespace dbfile::detail
