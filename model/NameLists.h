// The three name lists of an assessment: what a dictionary file holds.
#pragma once

#include <string>
#include <vector>

struct NameLists {
    std::vector<std::string> Layers;
    std::vector<std::string> Threats;
    std::vector<std::string> Mechanisms;
};
