// The shop's own texts: the weapon and cannon descriptions of the browsers, the stock-list
// labels, and the fixed descriptions of the four aircraft.
#pragma once

#include <array>
#include <string>
#include <vector>

// One paragraph per kind that ends in "Cena : "; the form appends the price.
const std::string& WeaponDescription(int kind);  // kinds 0..5
const std::string& CannonDescription(int kind);  // kinds 0..3
// The stock list's label for a kind; the list price follows it directly.
const std::string& WeaponStockLabel(int kind);
const std::string& CannonStockLabel(int kind);
// The eight lines of Memo1..Memo4, by aircraft kind.
const std::vector<std::string>& AircraftMemoLines(int kind);
