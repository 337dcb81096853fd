// Reproducible random assessments of any size, for tests and benchmarks. Every list
// starts with one item that is not analysed, so analysed positions and name positions
// differ; all values are multiples of 0.01, which the data file keeps exactly.
#pragma once

#include "model/Data.h"

#include <cstdint>
#include <random>
#include <string>

inline CData RandomAssessment(int analysedPerList, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    // Integer draws only: mt19937's output is fixed by the standard, the real-valued
    // distributions are not.
    auto value = [&rng](std::uint32_t hundredths) { return static_cast<float>(rng() % (hundredths + 1)) / 100.0f; };

    auto list = [analysedPerList](const std::string& prefix) {
        CheckList items { { prefix + " вне анализа", false } };
        for (int i = 1; i <= analysedPerList; ++i)
            items.push_back({ prefix + " " + std::to_string(i), true });
        return items;
    };
    CData data;
    data.CollectSelection(list("Эшелон"), list("Угроза"), list("Механизм"));

    const int layers = data.LayerCount;
    const int threats = data.ThreatCount;
    const int mechanisms = data.MechanismCount;
    struct Source {
        Matrix& M;
        int Rows, Cols;
        std::uint32_t Top; // largest value in hundredths
    };
    Source sources[] = {
        { data.MT, mechanisms, threats, 100 },
        { data.TE, threats, layers, 100 },
        { data.ET, layers, threats, 1000 },
        { data.TM, threats, mechanisms, 1000 },
        { data.EF, layers, threats, 1000 },
        { data.FM, threats, mechanisms, 1000 },
    };
    for (Source& s : sources) {
        s.M.Resize(s.Rows, s.Cols);
        for (int i = 0; i < s.Rows; ++i)
            for (int j = 0; j < s.Cols; ++j)
                s.M(i, j) = value(s.Top);
    }
    for (std::size_t k = 0; k < data.Thresholds.size(); ++k)
        data.Thresholds[k] = { 0.25f * static_cast<float>(k + 1), 0.5f * static_cast<float>(k + 1) };
    data.HighLevel = 2.0f;
    data.LowLevel = 0.5f;
    return data;
}
