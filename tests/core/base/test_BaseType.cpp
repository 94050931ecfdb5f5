// Rational numbers, vectors and matrices, and the rule that results beyond 32 bits are invalid.
#include "BaseType.h"
#include "RatTestUtil.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <type_traits>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

static_assert(sizeof(TRational) == 8);
static_assert(std::is_trivially_copyable_v<TRational>);

TRational Raw(std::int32_t num, std::int32_t den) { return TRational{num, den}; }

// ---------------------------------------------------------------- normal form

struct NormalizeCase {
  const char* name;
  TRational in;
  TRational want; // exact fields
};

class RatNormalizeTest : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(RatNormalizeTest, BringsToNormalForm) {
  const NormalizeCase& c = GetParam();
  TRational r = c.in;
  RatNormalize(r);
  EXPECT_NUMDEN(r, c.want.Num, c.want.Den);
  // RatMake does the same from the two integers.
  EXPECT_NUMDEN(RatMake(c.in.Num, c.in.Den), c.want.Num, c.want.Den);
}

INSTANTIATE_TEST_SUITE_P(Cases, RatNormalizeTest,
                         ::testing::Values(NormalizeCase{"ZeroNegativeDen", Raw(0, -5), Raw(0, 1)},
                                           NormalizeCase{"ZeroAnyDen", Raw(0, 7), Raw(0, 1)},
                                           NormalizeCase{"SixMinusFour", Raw(6, -4), Raw(-3, 2)},
                                           NormalizeCase{"BothNegative", Raw(-6, -4), Raw(3, 2)},
                                           NormalizeCase{"Reduce", Raw(4, 2), Raw(2, 1)},
                                           NormalizeCase{"AlreadyNormal", Raw(-4, 3), Raw(-4, 3)},
                                           NormalizeCase{"InvalidFiveStays", Raw(5, 0), Raw(5, 0)},
                                           NormalizeCase{"InvalidZeroZeroStays", Raw(0, 0), Raw(0, 0)},
                                           NormalizeCase{"InvalidNegativeStays", Raw(-7, 0), Raw(-7, 0)},
                                           NormalizeCase{"MinOverTwo", Raw(kMin, 2), Raw(-1073741824, 1)},
                                           NormalizeCase{"MinOverMinusTwo", Raw(kMin, -2), Raw(1073741824, 1)},
                                           NormalizeCase{"MaxOverMax", Raw(kMax, kMax), Raw(1, 1)},
                                           NormalizeCase{"MaxOverMinusOne", Raw(kMax, -1), Raw(-kMax, 1)},
                                           NormalizeCase{"LargeCoprime", Raw(kMax, kMax - 1), Raw(kMax, kMax - 1)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RatNormalize, MinOverMinusOneIsTheBigValueTwoToThe31) {
  // -(-2^31) does not fit 32 bits: the result is kept exactly, never a wrapped sign.
  TRational r = Raw(kMin, -1);
  RatNormalize(r);
  EXPECT_TRUE(RatIsBig(r));
  EXPECT_EQ(RatToStr(r), "2147483648");
  EXPECT_EQ(RatToStr(RatMake(kMin, -1)), "2147483648");
}

TEST(RatFromInt, IsKOverOne) {
  EXPECT_NUMDEN(RatFromInt(0), 0, 1);
  EXPECT_NUMDEN(RatFromInt(-5), -5, 1);
  EXPECT_NUMDEN(RatFromInt(kMax), kMax, 1);
  EXPECT_NUMDEN(RatFromInt(kMin), kMin, 1);
}

TEST(RatAssign, CopiesAndNormalises) {
  TRational d = Raw(9, 9);
  RatAssign(d, Raw(6, -4));
  EXPECT_NUMDEN(d, -3, 2);
  RatAssign(d, Raw(3, 0));
  EXPECT_NUMDEN(d, 3, 0);
}

TEST(RatIsValid, DenominatorZeroOnly) {
  EXPECT_TRUE(RatIsValid(Raw(0, 1)));
  EXPECT_FALSE(RatIsValid(Raw(1, 0)));
  EXPECT_FALSE(RatIsValid(Raw(0, 0)));
}

// ---------------------------------------------------------------- arithmetic

enum class Op { Add, Sub, Mul, Div };

struct ArithCase {
  const char* name;
  Op op;
  TRational a;
  TRational b;
  const char* want; // "inv" for an invalid result; values beyond 32 bits are big values
};

TRational Apply(Op op, TRational a, TRational b) {
  switch (op) {
  case Op::Add: return RatAdd(a, b);
  case Op::Sub: return RatSub(a, b);
  case Op::Mul: return RatMul(a, b);
  case Op::Div: return RatDiv(a, b);
  }
  return Raw(0, 0);
}

class RatArithmeticTest : public ::testing::TestWithParam<ArithCase> {};

TEST_P(RatArithmeticTest, ExactOrInvalidOnlyForNoNumber) {
  const ArithCase& c = GetParam();
  const TRational got = Apply(c.op, c.a, c.b);
  if (std::string(c.want) == "inv") {
    EXPECT_EQ(got.Den, 0) << "got " << kt::Show(got);
    TRational copy = got;
    EXPECT_EQ(RatToStr(copy), "<err>");
  } else {
    EXPECT_RAT(got, c.want);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RatArithmeticTest,
    ::testing::Values(
        ArithCase{"AddHalves", Op::Add, Raw(1, 2), Raw(1, 3), "5/6"},
        ArithCase{"AddToZero", Op::Add, Raw(kMax, 2), Raw(-kMax, 2), "0"},
        ArithCase{"AddSevenths", Op::Add, Raw(3, 7), Raw(2, 7), "5/7"},
        ArithCase{"SubSign", Op::Sub, Raw(1, 3), Raw(1, 2), "-1/6"},
        ArithCase{"MulSigns", Op::Mul, Raw(-7, 9), Raw(-3, 14), "1/6"},
        ArithCase{"DivHalfByMinusThird", Op::Div, Raw(1, 2), Raw(-1, 3), "-3/2"},
        ArithCase{"DivNegByNeg", Op::Div, Raw(-2, 3), Raw(-4, 9), "3/2"},
        // 64-bit intermediates, then normalise: a result that fits stays exact.
        ArithCase{"AddDenominatorOverflowsButResultFits", Op::Add, Raw(1, 65536), Raw(1, 65536), "1/32768"},
        ArithCase{"AddNumeratorOverflowsButResultFits", Op::Add, Raw(1, kMax), Raw(1, kMax), "2/2147483647"},
        ArithCase{"MulIntermediatesOverflowResultOne", Op::Mul, Raw(65536, 65537), Raw(65537, 65536), "1"},
        ArithCase{"MulMaxByReciprocal", Op::Mul, Raw(1, kMax), Raw(kMax, 1), "1"},
        ArithCase{"DivSameLarge", Op::Div, Raw(kMax - 1, kMax), Raw(kMax - 1, kMax), "1"},
        ArithCase{"SubLargeToZero", Op::Sub, Raw(kMax, kMax - 1), Raw(kMax, kMax - 1), "0"},
        ArithCase{"MulJustFits", Op::Mul, Raw(46340, 1), Raw(46340, 1), "2147395600"},
        ArithCase{"AddMaxPlusZero", Op::Add, Raw(kMax, 1), Raw(0, 1), "2147483647"},
        // Results outside the 32-bit range are kept exactly as big values.
        ArithCase{"MulSquareTooLarge", Op::Mul, Raw(46341, 1), Raw(46341, 1), "2147488281"},
        ArithCase{"AddMaxPlusOne", Op::Add, Raw(kMax, 1), Raw(1, 1), "2147483648"},
        ArithCase{"SubBelowRange", Op::Sub, Raw(-kMax, 1), Raw(2, 1), "-2147483649"},
        ArithCase{"MulTinyDenominator", Op::Mul, Raw(1, 65536), Raw(1, 65536), "1/4294967296"},
        ArithCase{"MulDenominatorTwoToThe31", Op::Mul, Raw(1, 65536), Raw(1, 32768), "1/2147483648"},
        ArithCase{"AddDenominatorTooLarge", Op::Add, Raw(1, 46341), Raw(1, 46343), "92684/2147580963"},
        ArithCase{"SubHugeDenominator", Op::Sub, Raw(kMax, kMax - 1), Raw(kMax - 1, kMax - 2), "-1/4611686007689969670"},
        ArithCase{"DivTooLarge", Op::Div, Raw(kMax, 1), Raw(1, 2), "4294967294"},
        // Division by zero and invalid operands.
        ArithCase{"DivByZero", Op::Div, Raw(3, 4), Raw(0, 1), "inv"},
        ArithCase{"ZeroDivByZero", Op::Div, Raw(0, 1), Raw(0, 1), "inv"},
        ArithCase{"DivByInvalidOneOverZero", Op::Div, Raw(1, 2), Raw(1, 0), "inv"},
        ArithCase{"DivByInvalidZeroOverZero", Op::Div, Raw(1, 2), Raw(0, 0), "inv"},
        ArithCase{"DivZeroByInvalid", Op::Div, Raw(0, 1), Raw(1, 0), "inv"},
        ArithCase{"DivInvalidByValue", Op::Div, Raw(1, 0), Raw(1, 2), "inv"},
        ArithCase{"AddInvalid", Op::Add, Raw(1, 0), Raw(1, 2), "inv"},
        ArithCase{"SubFromInvalid", Op::Sub, Raw(1, 2), Raw(3, 0), "inv"},
        ArithCase{"MulInvalid", Op::Mul, Raw(2, 3), Raw(1, 0), "inv"},
        ArithCase{"MulZeroByInvalid", Op::Mul, Raw(0, 1), Raw(0, 0), "inv"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RatArithmetic, MinimumOfRangeNeverWrapsToAWrongSign) {
  const TRational m = RatSub(RatFromInt(-kMax), RatFromInt(1));
  EXPECT_NUMDEN(m, kMin, 1);
  TRational neg = m;
  RatScale(neg, -1);
  EXPECT_EQ(RatToStr(neg), "2147483648");
  EXPECT_EQ(RatSign(neg), 1);
  // 1 / -2^31 = -1/2^31: the denominator does not fit.
  EXPECT_EQ(RatToStr(RatDiv(RatFromInt(1), RatFromInt(kMin))), "-1/2147483648");
  EXPECT_EQ(RatSign(RatDiv(RatFromInt(1), RatFromInt(kMin))), -1);
  // Back within range: the plain fraction again.
  EXPECT_NUMDEN(RatAdd(neg, RatFromInt(-1)), kMax, 1);
  EXPECT_NUMDEN(RatMul(neg, Raw(1, 2)), 1073741824, 1);
}

// Big values in every operation against a reference on GMP fractions of its own: sums, products and
// quotients of values far beyond 32 bits, the comparisons, the fused forms and the Gomory fraction.
TEST(RatArithmetic, BigValuesAgreeWithAReferenceOfAnySize) {
  std::mt19937 gen(31);
  std::uniform_int_distribution<std::int32_t> any(-kMax, kMax);
  std::uniform_int_distribution<std::int32_t> positive(1, kMax);
  int big = 0;
  for (int k = 0; k < 3000; ++k) {
    // Products of two or three 32-bit fractions: up to 96-bit parts.
    kt::Frac fa = kt::Norm(any(gen), positive(gen));
    kt::Frac fb = kt::Norm(any(gen), positive(gen));
    for (int t = 0; t < k % 3; ++t) fa = kt::Mul(fa, kt::Norm(any(gen), positive(gen)));
    if (k % 5 == 0) fb = kt::Mul(fb, fa);
    const TRational a = kt::ToRat(fa);
    const TRational b = kt::ToRat(fb);
    big += RatIsBig(a) ? 1 : 0;
    ASSERT_TRUE(kt::ToFrac(a) == fa);
    EXPECT_TRUE(kt::ToFrac(RatAdd(a, b)) == kt::Add(fa, fb));
    EXPECT_TRUE(kt::ToFrac(RatSub(a, b)) == kt::Sub(fa, fb));
    EXPECT_TRUE(kt::ToFrac(RatMul(a, b)) == kt::Mul(fa, fb));
    if (!xc::IsZero(fb)) {
      EXPECT_TRUE(kt::ToFrac(RatDiv(a, b)) == kt::Div(fa, fb));
    }
    EXPECT_TRUE(kt::ToFrac(RatSubMul(a, b, a)) == kt::Sub(fa, kt::Mul(fb, fa)));
    EXPECT_EQ(RatCompare(a, b), kt::Cmp(fa, fb));
    EXPECT_EQ(RatCompareInt(a, 7), kt::Cmp(fa, kt::Norm(7, 1)));
    EXPECT_EQ(RatSign(a), kt::Cmp(fa, kt::Norm(0, 1)));
    // -(a - floor(a)): floor by the reference's own integer division.
    mpz_class floor;
    mpz_fdiv_q(floor.get_mpz_t(), fa.n.get_mpz_t(), fa.d.get_mpz_t());
    EXPECT_TRUE(kt::ToFrac(RatNegFrac(a)) == kt::Sub(xc::Q{floor, 1}, fa));
    EXPECT_EQ(RatIsInteger(a), fa.d == 1);
    // A result that fits comes back as the plain fraction.
    const TRational back = RatSub(RatAdd(a, Raw(3, 7)), a);
    EXPECT_NUMDEN(back, 3, 7);
  }
  EXPECT_GT(big, 1000);
}

// The limits of exact arithmetic: a number of more than RatMaxDigits digits is invalid, and a value
// that the methods read as such makes them stop with the overflow outcome.
TEST(RatArithmetic, NumbersBeyondTheDigitLimitAreInvalid) {
  mpz_class p = 1;
  p <<= 200000; // about 60206 digits
  const TRational half = RatFromMpq(mpq_class(p + 1));
  ASSERT_TRUE(RatIsBig(half));
  EXPECT_EQ(RatToStr(half).size(), p.get_str().size());
  EXPECT_FALSE(RatIsValid(RatMul(half, half))); // about 120412 digits
  EXPECT_TRUE(RatIsValid(RatAdd(half, half)));
  EXPECT_FALSE(RatIsValid(RatFromMpq(mpq_class(p * p))));
}

TEST(RatArithmetic, IntegerForms) {
  EXPECT_RAT(RatMulInt(Raw(2, 3), 3), "2");
  EXPECT_RAT(RatMulInt(-3, Raw(2, 9)), "-2/3");
  EXPECT_RAT(RatDivInt(Raw(1, 2), -2), "-1/4");
  EXPECT_RAT(RatDivInt(Raw(6, 1), 4), "3/2");
  EXPECT_EQ(RatDivInt(Raw(1, 2), 0).Den, 0);
  EXPECT_RAT(RatMulInt(Raw(46341, 1), 46341), "2147488281");
  EXPECT_RAT(RatMulInt(46341, Raw(46341, 1)), "2147488281");
  EXPECT_RAT(RatDivInt(Raw(1, 65536), 65536), "1/4294967296");
  EXPECT_RAT(RatDivInt(Raw(65536, 3), 65536), "1/3");
}

TEST(RatArithmetic, InPlaceForms) {
  TRational a = Raw(1, 2);
  RatInc(a, Raw(1, 3));
  EXPECT_RAT(a, "5/6");
  RatScale(a, -1);
  EXPECT_RAT(a, "-5/6");
  RatScale(a, 6);
  EXPECT_RAT(a, "-5");
  RatDivBy(a, Raw(-10, 3));
  EXPECT_RAT(a, "3/2");
  RatDivBy(a, Raw(0, 1));
  EXPECT_EQ(a.Den, 0);
  TRational big = Raw(kMax, 1);
  RatInc(big, Raw(1, 1));
  EXPECT_RAT(big, "2147483648");
}

// Every operation against a reference in 64-bit integers: the plain fraction whenever the normalised
// result fits 32 bits, the exact big value otherwise. Operands come from small, medium and full 32-bit
// magnitudes.
TEST(RatArithmetic, MatchesA64BitReference) {
  std::mt19937 gen(77);
  const std::int32_t bounds[] = {12, 50000, kMax};
  auto draw = [&](std::int32_t bound, bool positive) {
    std::uniform_int_distribution<std::int32_t> d(positive ? 1 : -bound, bound);
    return d(gen);
  };
  int exact = 0;
  int invalid = 0;
  for (int k = 0; k < 40000; ++k) {
    const std::int32_t ba = bounds[k % 3];
    const std::int32_t bb = bounds[(k / 3) % 3];
    const TRational a = RatMake(draw(ba, false), draw(ba, true));
    const TRational b = RatMake(draw(bb, false), draw(bb, true));
    ASSERT_NE(a.Den, 0);
    ASSERT_NE(b.Den, 0);
    for (const Op op : {Op::Add, Op::Sub, Op::Mul, Op::Div}) {
      std::int64_t n = 0;
      std::int64_t d = 1;
      const std::int64_t an = a.Num, ad = a.Den, bn = b.Num, bd = b.Den;
      switch (op) {
      case Op::Add:
        n = an * bd + bn * ad;
        d = ad * bd;
        break;
      case Op::Sub:
        n = an * bd - bn * ad;
        d = ad * bd;
        break;
      case Op::Mul:
        n = an * bn;
        d = ad * bd;
        break;
      case Op::Div:
        n = an * bd;
        d = ad * bn;
        break;
      }
      const TRational got = Apply(op, a, b);
      if (d == 0) {
        EXPECT_EQ(got.Den, 0);
        continue;
      }
      if (d < 0) {
        n = -n;
        d = -d;
      }
      const std::int64_t g = std::gcd(n < 0 ? -n : n, d);
      n = n == 0 ? 0 : n / g;
      d = n == 0 ? 1 : d / g;
      const bool fits = n >= kMin && n <= kMax && d <= kMax;
      if (fits) {
        ++exact;
        ASSERT_TRUE(got.Num == n && got.Den == d) << kt::Show(a) << " op" << static_cast<int>(op) << " " << kt::Show(b)
                                                  << " gave " << kt::Show(got) << ", expected " << n << "/" << d;
      } else {
        ++invalid;
        ASSERT_TRUE(RatIsBig(got) && RatToStr(got) == (d == 1 ? std::to_string(n) : std::to_string(n) + "/" + std::to_string(d)))
            << kt::Show(a) << " op" << static_cast<int>(op) << " " << kt::Show(b) << " gave " << kt::Show(got)
            << ", expected " << n << "/" << d;
      }
    }
    const std::int64_t l = static_cast<std::int64_t>(a.Num) * b.Den;
    const std::int64_t r = static_cast<std::int64_t>(b.Num) * a.Den;
    ASSERT_EQ(RatCompare(a, b), l < r ? -1 : (l > r ? 1 : 0)) << kt::Show(a) << " vs " << kt::Show(b);
    ASSERT_EQ(RatLess(a, b), l < r);
  }
  EXPECT_GT(exact, 1000);
  EXPECT_GT(invalid, 1000);
}

// The fused forms against the reference of RatTestUtil.h: c - a*b, the comparison of two quotients
// and the value of a linear form are the plain fraction whenever the result fits 32 bits, even where
// a product on the way does not, and the exact big value otherwise.
// c - a*b whose 128-bit numerator and denominator share a divisor beyond 64 bits with a power of two
// in it (a pivot of a Gomory cut phase): the result is -1/2, not a fraction of a truncated divisor.
TEST(RatArithmetic, CommonDivisorBeyond64BitsReducesExactly) {
  const TRational c{-3686237, 6246540};
  const TRational a{1688901, 2186845};
  const TRational b{-437369, 3747924};
  for (const TRational v : {RatSubMulFit(c, a, b), RatSubMul(c, a, b)}) {
    EXPECT_EQ(v.Num, -1);
    EXPECT_EQ(v.Den, 2);
  }
}

TEST(RatArithmetic, FusedFormsMatchTheReference) {
  std::mt19937 gen(2024);
  const std::int32_t bounds[] = {12, 50000, kMax};
  auto draw = [&](std::int32_t bound, bool positive) {
    std::uniform_int_distribution<std::int32_t> d(positive ? 1 : -bound, bound);
    return d(gen);
  };
  auto rat = [&](int k) {
    const std::int32_t b = bounds[k % 3];
    return RatMake(draw(b, false), draw(b, true));
  };
  int productBeyond32Bits = 0;
  for (int k = 0; k < 30000; ++k) {
    const TRational a = rat(k);
    const TRational b = rat(k / 3);
    // A c close to a*b makes the difference fit where the product does not.
    const kt::Frac product = kt::Mul(kt::ToFrac(a), kt::ToFrac(b));
    const TRational near = kt::ToRat(kt::Add(product, kt::ToFrac(rat(k / 9))));
    const TRational c = k % 2 == 0 && RatIsSmall(near) ? near : rat(k / 9);
    const kt::Frac want = kt::Sub(kt::ToFrac(c), product);
    const TRational got = RatSubMul(c, a, b);
    ASSERT_EQ(RatIsBig(got), !kt::Fits(want));
    if (!kt::Fits(want)) {
      ASSERT_TRUE(kt::ToFrac(got) == want) << kt::Show(c) << " - " << kt::Show(a) << " * " << kt::Show(b);
      continue;
    }
    const TRational expected = kt::ToRat(want);
    if (!kt::Fits(product)) ++productBeyond32Bits;
    ASSERT_TRUE(got.Num == expected.Num && got.Den == expected.Den)
        << kt::Show(c) << " - " << kt::Show(a) << " * " << kt::Show(b) << " gave " << kt::Show(got) << ", expected "
        << kt::Show(want);
    // Quotients b/a against c/a2 with divisors of the same sign, both positive and both negative.
    const TRational d1 = RatMake(draw(bounds[k % 3], true), 1 + k % 7);
    const TRational d2 = RatMake(draw(bounds[(k / 3) % 3], true), 1 + k % 5);
    const int sign = k % 4 < 2 ? 1 : -1;
    const TRational a1 = RatMulInt(d1, sign);
    const TRational a2 = RatMulInt(d2, sign);
    const int cmp = kt::Cmp(kt::Div(kt::ToFrac(b), kt::ToFrac(a1)), kt::Div(kt::ToFrac(c), kt::ToFrac(a2)));
    ASSERT_EQ(RatCompareQuotients(b, a1, c, a2), cmp)
        << kt::Show(b) << "/" << kt::Show(a1) << " vs " << kt::Show(c) << "/" << kt::Show(a2);
  }
  EXPECT_GT(productBeyond32Bits, 20) << "no case left where only the product outgrows 32 bits";
  EXPECT_EQ(RatSubMul(Raw(1, 2), Raw(1, 0), Raw(1, 1)).Den, 0);
  EXPECT_EQ(RatSubMul(Raw(1, 0), Raw(0, 1), Raw(1, 1)).Den, 0);
  EXPECT_EQ(RatSubMul(Raw(1, 2), Raw(0, 1), Raw(0, 0)).Den, 0);

  // Linear forms: sums whose terms need 64 bits and more, and sums that do not fit.
  for (int k = 0; k < 3000; ++k) {
    const int n = 1 + k % 8;
    TVector c;
    TVector x;
    c.SetCount(n);
    x.SetCount(n);
    const TRational c0 = rat(k);
    kt::Frac want = kt::ToFrac(c0);
    for (int j = 1; j <= n; ++j) {
      c.SetItem(j, RatMake(draw(bounds[(k + j) % 3], false), draw(bounds[k % 2], true)));
      x.SetItem(j, RatMake(draw(bounds[(k / 2 + j) % 3], false), draw(1000, true)));
      want = kt::Add(want, kt::Mul(kt::ToFrac(c.GetItem(j)), kt::ToFrac(x.GetItem(j))));
    }
    const TRational got = RatLinearValue(c, x, c0);
    ASSERT_TRUE(kt::ToFrac(got) == want && RatIsBig(got) == !kt::Fits(want))
        << "k " << k << " gave " << kt::Show(got) << ", expected " << kt::Show(want);
  }
  TVector two;
  two.SetCount(2);
  TVector three;
  three.SetCount(3);
  EXPECT_EQ(RatLinearValue(two, three, Raw(0, 1)).Den, 0);
  two.SetItem(2, Raw(1, 0));
  TVector ones;
  ones.SetCount(2);
  EXPECT_EQ(RatLinearValue(two, ones, Raw(0, 1)).Den, 0);
  // 3 * (2147483647/3) - 2147483646 = 1: both terms beyond 32 bits on the way, the sum is 1.
  TVector c;
  c.SetCount(2);
  c.SetItem(1, Raw(3, 1));
  c.SetItem(2, Raw(-1, 1));
  TVector x;
  x.SetCount(2);
  x.SetItem(1, Raw(kMax, 3));
  x.SetItem(2, Raw(kMax - 1, 1));
  EXPECT_RAT(RatLinearValue(c, x, Raw(0, 1)), "1");
}

// ---------------------------------------------------------------- comparisons

TEST(RatCompare, WorkedExamples) {
  EXPECT_EQ(RatCompare(Raw(1, 3), RatMake(2, 6)), 0);
  EXPECT_EQ(RatCompare(Raw(1, 3), Raw(1, 2)), -1);
  EXPECT_EQ(RatCompare(Raw(1, 2), Raw(1, 3)), 1);
  EXPECT_EQ(RatCompare(Raw(-1, 2), Raw(-1, 3)), -1);
  EXPECT_TRUE(RatLessInt(Raw(-1, 2), 0));
  EXPECT_FALSE(RatGreaterInt(Raw(0, 1), 0));
  EXPECT_TRUE(RatEqualsInt(Raw(0, 1), 0));
  EXPECT_TRUE(RatEqualsInt(Raw(4, 1), 4));
  EXPECT_FALSE(RatEqualsInt(Raw(7, 2), 3));
  EXPECT_EQ(RatCompareInt(Raw(7, 2), 3), 1);
  EXPECT_EQ(RatCompareInt(Raw(7, 2), 4), -1);
  EXPECT_TRUE(RatLess(Raw(-3, 2), Raw(-4, 3)));
  EXPECT_FALSE(RatLess(Raw(2, 3), Raw(2, 3)));
}

TEST(RatCompare, CrossProductsBeyond32Bits) {
  // 1 + 1/(2^31 - 2) < 1 + 1/(2^31 - 3): the cross products need 64 bits.
  EXPECT_EQ(RatCompare(Raw(kMax, kMax - 1), Raw(kMax - 1, kMax - 2)), -1);
  EXPECT_EQ(RatCompare(Raw(kMax - 1, kMax - 2), Raw(kMax, kMax - 1)), 1);
  EXPECT_TRUE(RatLess(Raw(-kMax, 1), Raw(kMax, 1)));
  EXPECT_TRUE(RatLess(Raw(1, kMax), Raw(1, kMax - 1)));
  // a.Num - k*a.Den overflows 32 bits: 2147483647 - 2*1073741824.
  EXPECT_EQ(RatCompareInt(Raw(kMax, 2), 1073741824), -1);
  EXPECT_TRUE(RatLessInt(Raw(kMax, 2), 1073741824));
  EXPECT_TRUE(RatGreaterInt(Raw(kMax, 2), -kMax));
  EXPECT_TRUE(RatLessInt(Raw(-kMax, 1), kMax));
}

// ---------------------------------------------------------------- parsing

struct ParseOk {
  const char* text;
  TRational want; // exact fields
};

class RatTryParseAccepts : public ::testing::TestWithParam<ParseOk> {};

TEST_P(RatTryParseAccepts, WritesTheValue) {
  const ParseOk& c = GetParam();
  TRational r = Raw(42, 43);
  ASSERT_TRUE(RatTryParse(r, c.text)) << '"' << c.text << '"';
  EXPECT_NUMDEN(r, c.want.Num, c.want.Den);
  EXPECT_NUMDEN(RatFromStr(c.text), c.want.Num, c.want.Den);
}

std::string ParseName(const std::string& text) {
  std::string n;
  for (char ch : text) {
    if (ch >= '0' && ch <= '9')
      n += ch;
    else if (ch == '-')
      n += "Minus";
    else if (ch == '+')
      n += "Plus";
    else if (ch == '/')
      n += "Over";
    else if (ch == ' ')
      n += "Blank";
    else if (ch == '.')
      n += "Dot";
    else if (ch == ',')
      n += "Comma";
    else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))
      n += ch;
    else
      n += "X";
  }
  return n.empty() ? std::string("Empty") : n;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, RatTryParseAccepts,
    ::testing::Values(ParseOk{"5", Raw(5, 1)}, ParseOk{"-4/3", Raw(-4, 3)}, ParseOk{"+7", Raw(7, 1)},
                      ParseOk{"007", Raw(7, 1)}, ParseOk{"6/4", Raw(3, 2)}, ParseOk{"-0", Raw(0, 1)},
                      ParseOk{"0", Raw(0, 1)}, ParseOk{"0/5", Raw(0, 1)}, ParseOk{"-6/4", Raw(-3, 2)},
                      ParseOk{"+1/2", Raw(1, 2)}, ParseOk{"2147483647", Raw(kMax, 1)},
                      ParseOk{"-2147483647", Raw(-kMax, 1)}, ParseOk{"1/2147483647", Raw(1, kMax)},
                      ParseOk{"-2147483648", Raw(-kMax - 1, 1)}, ParseOk{"-2147483648/4", Raw(-536870912, 1)},
                      ParseOk{"00000000002147483647", Raw(kMax, 1)}, ParseOk{"2147483647/2147483647", Raw(1, 1)}),
    [](const auto& info) { return ParseName(info.param.text); });

class RatTryParseRefuses : public ::testing::TestWithParam<const char*> {};

TEST_P(RatTryParseRefuses, FailsAndLeavesTargetUntouched) {
  const std::string text = GetParam();
  TRational r = Raw(42, 43); // deliberately not normal: must stay exactly as it is
  EXPECT_FALSE(RatTryParse(r, text));
  EXPECT_NUMDEN(r, 42, 43);
  EXPECT_NUMDEN(RatFromStr(text), 1, 0);
}

INSTANTIATE_TEST_SUITE_P(Grammar, RatTryParseRefuses,
                         ::testing::Values("", "-", "+", "/3", "1/", "1/2/3", " 2", "2 ", "1 /2", "1/ 2", "1/-2",
                                           "1/+2", "--1", "+-1", "-+1", "x", "1e3", "0x10", "½", "3/0", "-4/0", "0/0",
                                           "7/000",        // a zero denominator is no number
                                           "\xef\xbc\x91", // fullwidth digit one
                                           "2147483648", "-2147483649", "+2147483648", "99999999999", "1/2147483648",
                                           "4294967297", "18446744073709551617", "1/4294967296", "12abc"),
                         [](const auto& info) { return ParseName(info.param); });

TEST(RatTryParse, EmbeddedNulIsNotIgnored) {
  TRational r = Raw(42, 43);
  EXPECT_FALSE(RatTryParse(r, std::string_view("5\0"
                                               "1",
                                               3)));
  EXPECT_NUMDEN(r, 42, 43);
}

// Decimals as students type them name exact fractions; a point or a comma, and nothing that would
// need more than 32 bits.
INSTANTIATE_TEST_SUITE_P(
    Decimal, RatTryParseAccepts,
    ::testing::Values(ParseOk{"1.5", Raw(3, 2)}, ParseOk{"1,5", Raw(3, 2)}, ParseOk{"-0.25", Raw(-1, 4)},
                      ParseOk{"+2.50", Raw(5, 2)}, ParseOk{".5", Raw(1, 2)}, ParseOk{"5.", Raw(5, 1)},
                      ParseOk{"-0,0", Raw(0, 1)}, ParseOk{"3.14159", Raw(314159, 100000)},
                      ParseOk{"0.000000001", Raw(1, 1000000000)}, ParseOk{"2147483647.0", Raw(kMax, 1)},
                      ParseOk{"-1073741823.5", Raw(-kMax, 2)}, ParseOk{"1.500000000000000000000000000000", Raw(3, 2)},
                      ParseOk{"000000000000000000000000000012.75", Raw(51, 4)},
                      ParseOk{"-2147483648,0", Raw(-kMax - 1, 1)}),
    [](const auto& info) { return ParseName(info.param.text); });

INSTANTIATE_TEST_SUITE_P(Decimal, RatTryParseRefuses,
                         ::testing::Values(".", ",", "-.", "+,", "1.5.2", "1..5", "1,5/2", "1.5/2", "1/2.5", " 1.5",
                                           "1.5 ", "1.-5", "-1,-5", "1e.5", "1.5e3", "0.0000000001", "2147483648.0",
                                           "2147483647.5", "-2147483648.5", "99999999999999999999.5",
                                           "0.1234567890123456789012345"),
                         [](const auto& info) { return ParseName(info.param); });

// ---------------------------------------------------------------- text form

struct ToStrCase {
  const char* name;
  TRational in;
  const char* text;
  TRational after; // the argument after the in-place form
};

class RatToStrTest : public ::testing::TestWithParam<ToStrCase> {};

TEST_P(RatToStrTest, PrintsAndNormalisesInPlace) {
  const ToStrCase& c = GetParam();
  const TRational constIn = c.in;
  EXPECT_EQ(RatToStr(constIn), c.text);
  EXPECT_NUMDEN(constIn, c.in.Num, c.in.Den);
  TRational r = c.in;
  EXPECT_EQ(RatToStr(r), c.text);
  EXPECT_NUMDEN(r, c.after.Num, c.after.Den);
}

INSTANTIATE_TEST_SUITE_P(Cases, RatToStrTest,
                         ::testing::Values(ToStrCase{"Integer", Raw(5, 1), "5", Raw(5, 1)},
                                           ToStrCase{"NegativeInteger", Raw(-5, 1), "-5", Raw(-5, 1)},
                                           ToStrCase{"Fraction", Raw(-4, 3), "-4/3", Raw(-4, 3)},
                                           ToStrCase{"UnnormalisedFourHalves", Raw(4, 2), "2", Raw(2, 1)},
                                           ToStrCase{"UnnormalisedSign", Raw(6, -4), "-3/2", Raw(-3, 2)},
                                           ToStrCase{"UnnormalisedZero", Raw(0, -5), "0", Raw(0, 1)},
                                           ToStrCase{"InvalidOneOverZero", Raw(1, 0), "<err>", Raw(1, 0)},
                                           ToStrCase{"InvalidZeroOverZero", Raw(0, 0), "<err>", Raw(0, 0)},
                                           ToStrCase{"InvalidFive", Raw(5, 0), "<err>", Raw(5, 0)},
                                           ToStrCase{"Max", Raw(kMax, 1), "2147483647", Raw(kMax, 1)},
                                           ToStrCase{"SmallFraction", Raw(-1, kMax), "-1/2147483647", Raw(-1, kMax)}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- negated fractional part

struct NegFracCase {
  const char* name;
  TRational v;
  TRational want; // exact fields, already normal
};

class RatNegFracTest : public ::testing::TestWithParam<NegFracCase> {};

TEST_P(RatNegFracTest, IsMinusFractionalPart) {
  const NegFracCase& c = GetParam();
  EXPECT_NUMDEN(RatNegFrac(c.v), c.want.Num, c.want.Den);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RatNegFracTest,
    ::testing::Values(
        NegFracCase{"SevenThirds", Raw(7, 3), Raw(-1, 3)}, NegFracCase{"MinusOneThird", Raw(-1, 3), Raw(-2, 3)},
        NegFracCase{"MinusFourThirds", Raw(-4, 3), Raw(-2, 3)}, NegFracCase{"MinusTwo", Raw(-2, 1), Raw(0, 1)},
        NegFracCase{"Five", Raw(5, 1), Raw(0, 1)}, NegFracCase{"Zero", Raw(0, 1), Raw(0, 1)},
        NegFracCase{"Half", Raw(1, 2), Raw(-1, 2)}, NegFracCase{"MinusHalf", Raw(-1, 2), Raw(-1, 2)},
        NegFracCase{"ThreeHalves", Raw(3, 2), Raw(-1, 2)}, NegFracCase{"TwoThirds", Raw(2, 3), Raw(-2, 3)},
        NegFracCase{"LargePositive", Raw(kMax, 2), Raw(-1, 2)}, NegFracCase{"LargeNegative", Raw(-kMax, 2), Raw(-1, 2)},
        NegFracCase{"TinyNegative", Raw(-1, kMax), Raw(-(kMax - 1), kMax)},
        NegFracCase{"MinimumInteger", Raw(kMin, 1), Raw(0, 1)}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- TVector

TEST(TVector, StartsEmptyAndGrowsWithZeros) {
  TVector v;
  EXPECT_EQ(v.Count(), 0);
  EXPECT_NUMDEN(v.GetItem(1), 1, 0);
  v.SetCount(2);
  v.SetItem(1, Raw(1, 2));
  v.SetItem(2, Raw(-3, 1));
  v.SetCount(4);
  EXPECT_EQ(v.Count(), 4);
  EXPECT_NUMDEN(v.GetItem(1), 1, 2);
  EXPECT_NUMDEN(v.GetItem(2), -3, 1);
  EXPECT_NUMDEN(v.GetItem(3), 0, 1);
  EXPECT_NUMDEN(v.GetItem(4), 0, 1);
  EXPECT_NUMDEN(v.GetItem(0), 1, 0);
  EXPECT_NUMDEN(v.GetItem(5), 1, 0);
  EXPECT_NUMDEN(v.GetItem(-1), 1, 0);
}

TEST(TVector, SetItemStoresUnchangedAndIgnoresOutOfRange) {
  TVector v;
  v.SetCount(2);
  v.SetItem(1, Raw(4, 2));
  EXPECT_NUMDEN(v.GetItem(1), 4, 2);
  v.SetItem(0, Raw(9, 1));
  v.SetItem(3, Raw(9, 1));
  v.SetItem(-7, Raw(9, 1));
  EXPECT_EQ(v.Count(), 2);
  EXPECT_NUMDEN(v.GetItem(1), 4, 2);
  EXPECT_NUMDEN(v.GetItem(2), 0, 1);
}

TEST(TVector, ShrinkDropsTail) {
  TVector v;
  v.SetCount(3);
  for (int i = 1; i <= 3; ++i) v.SetItem(i, RatFromInt(i * 10));
  v.SetCount(1);
  EXPECT_EQ(v.Count(), 1);
  EXPECT_RAT(v.GetItem(1), "10");
  EXPECT_NUMDEN(v.GetItem(2), 1, 0);
  v.SetCount(3);
  EXPECT_RAT(v.GetItem(2), "0");
  EXPECT_RAT(v.GetItem(3), "0");
  v.SetCount(0);
  EXPECT_EQ(v.Count(), 0);
}

TEST(TVector, CloneIsIndependent) {
  TVector v;
  v.SetCount(2);
  v.SetItem(1, Raw(1, 3));
  TVector c = v.Clone();
  v.SetItem(1, Raw(5, 1));
  v.SetCount(5);
  EXPECT_EQ(c.Count(), 2);
  EXPECT_RAT(c.GetItem(1), "1/3");
}

// ---------------------------------------------------------------- TMatrix

TEST(TMatrix, StartsEmpty) {
  TMatrix m;
  EXPECT_EQ(m.Dim1(), 0);
  EXPECT_EQ(m.Dim2(), 0);
  EXPECT_NUMDEN(m.GetItem(1, 1), 0, 0);
}

TEST(TMatrix, StorageOrderFirstIndexFastest) {
  TMatrix m;
  m.Resize(2, 3);
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 3; ++j) m.SetItem(i, j, RatFromInt(10 * i + j));
  const TRational* d = m.Data();
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(d[(i - 1) + (j - 1) * 2].Num, 10 * i + j);
}

TEST(TMatrix, ResizeKeepsElementsAtTheirIndices) {
  TMatrix m;
  m.Resize(2, 3);
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 3; ++j) m.SetItem(i, j, RatFromInt(10 * i + j));
  m.Resize(3, 2);
  EXPECT_EQ(m.Dim1(), 3);
  EXPECT_EQ(m.Dim2(), 2);
  EXPECT_RAT(m.GetItem(1, 1), "11");
  EXPECT_RAT(m.GetItem(2, 1), "21");
  EXPECT_RAT(m.GetItem(1, 2), "12");
  EXPECT_RAT(m.GetItem(2, 2), "22");
  EXPECT_NUMDEN(m.GetItem(3, 1), 0, 1);
  EXPECT_NUMDEN(m.GetItem(3, 2), 0, 1);
  EXPECT_NUMDEN(m.GetItem(3, 3), 0, 0);
  EXPECT_NUMDEN(m.GetItem(1, 3), 0, 0);
  // Growing the first index moves every element to a new linear position.
  m.Resize(5, 4);
  EXPECT_RAT(m.GetItem(2, 2), "22");
  EXPECT_RAT(m.GetItem(2, 1), "21");
  EXPECT_NUMDEN(m.GetItem(5, 4), 0, 1);
  m.Resize(0, 0);
  EXPECT_NUMDEN(m.GetItem(1, 1), 0, 0);
}

TEST(TMatrix, OutOfRangeReadsAndWrites) {
  TMatrix m;
  m.Resize(2, 2);
  m.SetItem(0, 1, RatFromInt(9));
  m.SetItem(3, 1, RatFromInt(9));
  m.SetItem(1, 0, RatFromInt(9));
  m.SetItem(1, 3, RatFromInt(9));
  m.SetItem(-1, -1, RatFromInt(9));
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) EXPECT_NUMDEN(m.GetItem(i, j), 0, 1);
  EXPECT_NUMDEN(m.GetItem(0, 1), 0, 0);
  EXPECT_NUMDEN(m.GetItem(1, 0), 0, 0);
  EXPECT_NUMDEN(m.GetItem(3, 2), 0, 0);
  m.SetItem(2, 2, Raw(6, 4));
  EXPECT_NUMDEN(m.GetItem(2, 2), 6, 4);
}

TEST(TMatrix, ExtractVector) {
  TMatrix m;
  m.Resize(3, 2);
  for (int i = 1; i <= 3; ++i) m.SetItem(i, 2, RatMake(i, 7));
  const TVector col = m.ExtractVector(2);
  ASSERT_EQ(col.Count(), 3);
  EXPECT_RAT(col.GetItem(1), "1/7");
  EXPECT_RAT(col.GetItem(3), "3/7");
  for (int j : {0, 3, -1}) {
    SCOPED_TRACE(j);
    const TVector z = m.ExtractVector(j);
    ASSERT_EQ(z.Count(), 3);
    for (int i = 1; i <= 3; ++i) EXPECT_NUMDEN(z.GetItem(i), 0, 1);
  }
}

TEST(TMatrix, CloneIsIndependent) {
  TMatrix m;
  m.Resize(2, 2);
  m.SetItem(1, 2, Raw(1, 2));
  TMatrix c = m.Clone();
  m.SetItem(1, 2, Raw(7, 1));
  m.Resize(1, 1);
  EXPECT_EQ(c.Dim1(), 2);
  EXPECT_RAT(c.GetItem(1, 2), "1/2");
}

} // namespace
