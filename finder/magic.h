// Finding the two bytes every bitmap header begins with.
#pragma once

#include <cstddef>
#include <cstdint>

// The first j in [from, to) where p[j] p[j + 1] is "BM", or `to` when there is none.
// Reads p[from] to p[to]: p[to] must be readable.
std::size_t NextCandidate(const std::uint8_t* p, std::size_t from, std::size_t to);
