// The sample data file and stores of the program's own to write: shared by the data
// file's tests.
#pragma once

#include "TempFolder.h"

#include "model/Data.h"

#include <initializer_list>
#include <string>
#include <utility>

inline std::string SampleBytes()
{
    return ReadBytes(VARDUN_TEST_DATA "/sample.sav");
}

inline CheckList Items(std::initializer_list<std::pair<std::string, bool>> items)
{
    CheckList list;
    for (const auto& [name, checked] : items)
        list.push_back({ name, checked });
    return list;
}

// The store that the sample file holds.
inline CData SampleStore()
{
    CData d;
    d.PrepareForAnalysis(Items({ { "Периметр", true }, { "Сеть", false } }), Items({ { "Вирус", true } }),
        Items({ { "Антивирус", true } }));
    d.MT(0, 0) = 0.5f;
    d.TE(0, 0) = 0.7f;
    d.ET(0, 0) = 3.0f;
    d.TM(0, 0) = 2.0f;
    d.EF(0, 0) = 0.25f;
    d.FM(0, 0) = 1.0f;
    return d;
}

inline void FillAwkwardly(CData& d)
{
    Matrix* mats[] = { &d.MT, &d.TE, &d.ET, &d.TM, &d.EF, &d.FM };
    for (int w = 0; w < 6; ++w)
        for (int i = 0; i < mats[w]->Rows(); ++i)
            for (int j = 0; j < mats[w]->Cols(); ++j)
                (*mats[w])(i, j) = static_cast<float>(w + 1) / 3.0f + static_cast<float>(i) * 0.1234567f
                    + static_cast<float>(j) * 1e-5f;
    for (std::size_t k = 0; k < d.Thresholds.size(); ++k)
        d.Thresholds[k] = { 0.05f * static_cast<float>(2 * k + 1), 0.05f * static_cast<float>(2 * k + 2) };
    d.HighLevel = 0.9f;
    d.LowLevel = 0.123456789f;
}

// Blank-edged names, a name of blanks only, more than fifteen names, forty analysed
// threats (so forty-column rows), and not every item analysed.
inline CData RichStore()
{
    CheckList layers = Items({ { "  Периметр ", true }, { "Сеть", false }, { "   ", true } });
    CheckList threats;
    for (int i = 1; i <= 40; ++i)
        threats.push_back({ "Угроза №" + std::to_string(i), true });
    CheckList mechanisms;
    for (int i = 1; i <= 17; ++i)
        mechanisms.push_back({ "Механизм «" + std::to_string(i) + "» ", i % 3 == 0 });
    CData d;
    d.PrepareForAnalysis(layers, threats, mechanisms);
    FillAwkwardly(d);
    return d;
}
