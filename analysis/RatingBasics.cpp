#include "analysis/RatingBasics.h"

float ShiftedFrequency(float frequency, float shift)
{
    const float v = frequency + shift;
    return v >= 0.0f ? v : 0.0f;
}

float DamageFactor(float level)
{
    return level * level;
}
