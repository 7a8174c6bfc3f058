// The command line's rules for what it may write: export, figures and import run with their
// output (and the figures' database) chosen among the files an author has (the set itself, a
// link to it, its marks file, another set, a CSV, a database, a pipe, a folder, a new name).
// Whatever the choice, the set read by export and figures never changes, a command that
// fails changes nothing, and one that succeeds changes nothing but the file it was asked to
// write (and, for an import, that set's marks file).
#include "FuzzFolder.h"
#include "QstTool.h"

#include <filesystem>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {


// A set of one question, by the tool itself.
void makeFiles(const fuzz::Folder& folder) {
    const std::string txt = folder.write("t.txt", "#Q One?\n#D easy\n^ a\nA a\nB b\nC c\nD d\n");
    std::ostringstream out, err;
    runQstTool({"sets", txt, "-d", folder.path("")}, out, err); // T.QST and its marks
    std::filesystem::copy_file(folder.path("T.QST"), folder.path("OTHER.QST"));
    folder.write("notes.csv", "question,answer,wrong1,wrong2,wrong3\n");
    folder.write("scores.sqlite", std::string("SQLite format 3\0", 16) + "pages");
    std::filesystem::create_symlink(folder.path("T.QST"), folder.path("LINK.QST"));
    ::mkfifo(folder.path("pipe").c_str(), 0600);
    std::filesystem::create_directory(folder.path("folder"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static const fuzz::Folder folder;
    folder.clear();
    makeFiles(folder);
    static const char* const Names[] = {"T.QST",        "./T.QST",      "LINK.QST", "T.QST.difficulty",
                                        "OTHER.QST",    "notes.csv",    "scores.sqlite",
                                        "pipe",         "folder",       "NEW.QST",  "new.csv"};
    constexpr std::size_t Count = std::size(Names);
    const std::string output = folder.path(Names[data[1] % Count]);
    const std::string database = folder.path(Names[data[2] % Count]);
    const std::string set = folder.path("T.QST");
    std::vector<std::string> args;
    switch (data[0] % 4) {
    case 0:
        args = {"export", set, "-o", output};
        break;
    case 1:
        args = {"export", set, "--format", "json", "-o", output};
        break;
    case 2:
        args = {"figures", set, "-o", output, "--database", database};
        break;
    default:
        args = {"import", folder.path("t.txt"), "-o", output};
        if (data[0] & 8) args.push_back("--append");
        break;
    }
    const auto before = folder.snapshot();
    std::ostringstream out, err;
    const int status = runQstTool(args, out, err);
    const auto after = folder.snapshot();
    if (status != 0) {
        fuzz::require(after == before, "a refused command changed the folder");
        return 0;
    }
    // The names the command may have written: its output, resolved through a link, and for
    // an import the marks beside it.
    std::string target = output;
    if (std::filesystem::is_symlink(output)) target = std::filesystem::canonical(output).string();
    const std::string written = std::filesystem::path(target).filename().string();
    for (const auto& [name, value] : before) {
        const bool mayChange = name == written || (args[0] == "import" && name == written + ".difficulty");
        if (!mayChange) fuzz::require(after.count(name) && after.at(name) == value, "a file not asked for changed");
    }
    for (const auto& [name, value] : after)
        fuzz::require(before.count(name) || name == written || name == written + ".difficulty",
                      "a file not asked for was made");
    if (args[0] != "import") fuzz::require(after.at("T.QST") == before.at("T.QST"), "a report changed its set");
    return 0;
}
