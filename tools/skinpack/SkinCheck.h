// skinpack check: what a skin author needs to know about a package, found by loading it as the
// engine does (package reader, description, model) and looking at what the engine would draw.
#pragma once

#include <string>
#include <vector>

// Text against its background needs at least this contrast ratio (relative luminances).
constexpr double kMinTextContrast = 4.5;

// One line per problem; empty when the package is fine. packageBytes is the package as stored.
std::vector<std::string> CheckSkinPackage(const std::string& packageBytes);

// The contrast ratio of two colours (TColor values, no system colours): from 1 to 21.
double ContrastRatio(unsigned colourA, unsigned colourB);
