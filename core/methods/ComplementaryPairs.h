// The quadratic method's rule over the simplex step: of each complementary pair (X_j, V_j) at most
// one variable is basic (X_j V_j = 0 of the Kuhn-Tucker conditions).
#pragma once

#include "Simplex.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class TComplementaryPairs final : public TPivotFilter {
public:
  explicit TComplementaryPairs(const std::vector<std::pair<std::string, std::string>>& pairs);

  // The pivot keeps every pair apart: the partner of col is not basic, or it is the basic variable
  // of row, which leaves in that pivot (row 0: the partner is not basic).
  [[nodiscard]] bool Allows(const TSimplexTable& table, std::int32_t col, std::int32_t row) const override;
  // On a tie of ratios the row of the entering column's partner leaves, so that the pair stays apart.
  [[nodiscard]] std::int32_t TieRow(const TSimplexTable& table, std::int32_t enter) const override;
  [[nodiscard]] std::string Refusal(const TSimplexTable& table, std::int32_t col) const override;
  [[nodiscard]] std::string Blocked(const std::vector<std::string>& names) const override;
  [[nodiscard]] std::string Stopped(const std::vector<std::string>& names) const override;
  [[nodiscard]] std::string StoppedHint() const override;
  [[nodiscard]] std::string FirstAllowedColumn() const override;

  // The name paired with name; "" for none.
  [[nodiscard]] std::string PartnerOf(const std::string& name) const;

private:
  std::map<std::string, std::string> Partner;
};
