#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// The registration token's picture: the digits drawn a little crooked on a noisy background,
// as a single-frame GIF.

constexpr int SzerokoscTokenu = 100;
constexpr int WysokoscTokenu = 32;

// A GIF of `szerokosc` x `wysokosc` pixels, each an index into `paleta` (RGB triples, 2 to 256
// colours, padded to a power of two). LZW-compressed.
std::string ZakodujGif(int szerokosc, int wysokosc, const std::vector<std::uint8_t> &piksele,
                       const std::vector<std::uint8_t> &paleta);

// The picture of `cyfry` (decimal digits only).
std::string ObrazekTokenu(const std::string &cyfry, std::mt19937 &los);
