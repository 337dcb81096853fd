// The terms every rating evaluation shares: which rating, which selection, the shifted
// frequency and the damage factor.
#pragma once

#include <array>

enum class RatingKind { Rm, Re };

// Zero-based positions among the analysed layers, threats and mechanisms.
struct RatingSelection {
    int Layer = 0;
    int Threat = 0;
    int Mechanism = 0;
};

struct RatingExtent {
    float Largest;
    float Smallest;
};

struct CurvePoint {
    float Shift;
    float Value;
};

constexpr int kCurveSamples = 100;
using CurveSamples = std::array<CurvePoint, kCurveSamples>;

// The factor of a damage level: the level squared, rounded to 32 bits.
float DamageFactor(float level);

// A frequency plus a shift; a sum that is negative, or not a number, counts as none.
float ShiftedFrequency(float frequency, float shift);
