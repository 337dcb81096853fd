#include "app/CommandLine.h"

#include <algorithm>
#include <utility>

const char* const kProgramUsage
    = "usage: vardun [FILE.sav | LISTS.dic]\n"
      "       vardun --help | --version\n"
      "\n"
      "Starts the desktop program for assessing how well an information system is protected.\n"
      "  FILE.sav    open this assessment at start-up, as loading it in the main window\n"
      "              would; a file that is refused leaves the lists empty\n"
      "  LISTS.dic   or fill the lists from this dictionary, as loading it would (a file is\n"
      "              known for a dictionary by its first line)\n"
      "  -h, --help  print this text and exit\n"
      "  --version   print the program's version and exit\n"
      "Without a file the lists come from default.dic, the first found of: the working\n"
      "directory, $XDG_CONFIG_HOME/vardun (~/.config/vardun), $XDG_CONFIG_DIRS/vardun\n"
      "(/etc/xdg/vardun), and share/vardun beside the program (/usr/share/vardun).\n"
      "F1 in any window opens the user guide. Qt's own options (-platform, -style) apply.\n"
      "Exit status: 0 done, 2 usage error.\n";

const char* const kProgramVersion = "vardun " VARDUN_VERSION "\n";

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    const auto given
        = [&args](const char* option) { return std::find(args.begin(), args.end(), option) != args.end(); };
    if (given("--help") || given("-h")) {
        line.What = CommandLine::Action::Help;
        return line;
    }
    if (given("--version")) {
        line.What = CommandLine::Action::Version;
        return line;
    }

    const auto error = [](std::string reason) {
        return CommandLine { CommandLine::Action::Error, std::nullopt, std::move(reason) };
    };
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-')
            return error("unknown option " + arg);
        if (line.DataFile)
            return error("only one data file can be opened");
        line.DataFile = arg;
    }
    return line;
}
