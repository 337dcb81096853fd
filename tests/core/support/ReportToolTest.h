// What the report tool's tests share: a test's folder with files of the program's own
// writer in it, runs of the built tool there, and its JSON read back and compared with
// the core's floats.
#pragma once

#include "RecordingSink.h"
#include "ReportTool.h"
#include "TempFolder.h"

#include "model/Data.h"
#include "model/Utf8Path.h"
#include "ui/export/ReportJson.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The JSON of a run that succeeded: status 0 and nothing said on the error stream.
inline ReportJson Parse(const ToolRun& run)
{
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    return ReportJson::parse(run.Out);
}

class ReportToolTest : public ::testing::Test {
protected:
    std::filesystem::path Path(const std::string& name) const { return PathFromUtf8(folder_.Path(name)); }

    std::filesystem::path Write(const CData& data, const std::string& name) const
    {
        RecordingSink sink;
        const std::filesystem::path path = Path(name);
        EXPECT_TRUE(data.SaveToFile(Utf8FromPath(path), sink));
        return path;
    }

    ToolRun Report(const std::vector<std::string>& args) const { return RunReportTool(args, folder_); }

    ReportJson Parsed(const std::vector<std::string>& args) const { return Parse(Report(args)); }

    // The tool refuses the arguments as a usage error: status 2, nothing on the output, and
    // its usage, with `alsoSaid` where given, on the error stream.
    void ExpectUsageError(const std::vector<std::string>& args, const char* alsoSaid = nullptr) const
    {
        const ToolRun run = Report(args);
        std::string shown;
        for (const auto& a : args)
            shown += a + " ";
        EXPECT_EQ(run.Status, 2) << shown;
        EXPECT_EQ(run.Out, "") << shown;
        EXPECT_NE(run.Err.find("usage: vardun-report"), std::string::npos) << shown;
        if (alsoSaid) {
            EXPECT_NE(run.Err.find(alsoSaid), std::string::npos) << shown;
        }
    }

private:
    TempFolder folder_;
};

// The store as the tool reads it, before any mode is computed.
inline CData Loaded(const std::filesystem::path& path)
{
    CData d;
    RecordingSink sink;
    EXPECT_TRUE(d.LoadFromFile(Utf8FromPath(path), sink));
    return d;
}

// The assessment with every ET judgement 0: no weighted damage at all, so that no rating
// is a number.
inline CData WithoutDamage(CData data)
{
    for (int i = 0; i < data.ET.Rows(); ++i)
        for (int j = 0; j < data.ET.Cols(); ++j)
            data.ET(i, j) = 0.0f;
    return data;
}

// A number of the report: the same float bit for bit, or null where it is not finite.
inline ::testing::AssertionResult SameFloat(const ReportJson& j, float expected)
{
    if (!std::isfinite(expected)) {
        if (j.is_null())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << j.dump() << " where null was expected";
    }
    if (!j.is_number_float())
        return ::testing::AssertionFailure() << j.dump() << " is not a float, expected " << expected;
    if (std::bit_cast<std::uint32_t>(j.get<float>()) != std::bit_cast<std::uint32_t>(expected))
        return ::testing::AssertionFailure() << j.dump() << " is not " << expected;
    return ::testing::AssertionSuccess();
}
