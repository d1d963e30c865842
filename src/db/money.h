#pragma once
#include <QString>
#include <cstdint>
#include <optional>

namespace db {

// Exact fixed-point amount: 64-bit count of ten-thousandths, like a currency
// type, so that sums and differences of amounts never drift.
class Money {
public:
    static constexpr int64_t Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromRaw(int64_t raw) { Money m; m.m_raw = raw; return m; }
    static Money fromDouble(double v);               // rounded half away from zero
    static std::optional<Money> parse(const QString &text);  // "12.5", "-3", "1,234.50"; empty -> nullopt

    constexpr int64_t raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / Scale; }
    bool isZero() const { return m_raw == 0; }

    // "12.50" style: two decimals unless more are significant.
    QString toString() const;
    // All four decimals trimmed of trailing zeros ("12.5", "3").
    QString toPlainString() const;

    friend constexpr Money operator+(Money a, Money b) { return fromRaw(a.m_raw + b.m_raw); }
    friend constexpr Money operator-(Money a, Money b) { return fromRaw(a.m_raw - b.m_raw); }
    constexpr Money operator-() const { return fromRaw(-m_raw); }
    Money &operator+=(Money o) { m_raw += o.m_raw; return *this; }
    Money &operator-=(Money o) { m_raw -= o.m_raw; return *this; }
    // Product rounded half away from zero to four decimals.
    friend Money operator*(Money a, Money b);
    Money times(double factor) const;
    friend constexpr bool operator==(Money a, Money b) { return a.m_raw == b.m_raw; }
    friend constexpr auto operator<=>(Money a, Money b) { return a.m_raw <=> b.m_raw; }

private:
    int64_t m_raw = 0;
};

} // namespace db
