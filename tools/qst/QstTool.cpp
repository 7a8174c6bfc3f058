#include "QstTool.h"

#include "FiguresExport.h"
#include "GiveAwayPairs.h"
#include "LengthReport.h"
#include "MarksFromPlay.h"
#include "OutputPath.h"
#include "QstExporter.h"
#include "QstImporter.h"
#include "QstInspector.h"
#include "SaveFile.h"
#include "TopicSets.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

namespace {

constexpr const char* Usage = R"(Usage: trivora-qst COMMAND [OPTIONS]

Reads, checks, converts and builds Trivora question sets (.QST files).

Commands:
  info FILE
      Prints the record count, whether the header is sound, the topic it
      names (sets by topic do), every record a reader would trip on (empty
      fields, length bytes above 75) and any bytes after the last whole
      record. Exits 1 when the game cannot use the set.

  export FILE [--format csv|json] [-o OUT]
      Writes every question as UTF-8 to standard output, or to OUT.
      csv:  header row question,answer,wrong1,wrong2,wrong3 (the default)
      json: Open Trivia Database's shape, HTML special characters as references
      The set's topic and its difficulty marks go with the questions (csv:
      columns difficulty and topic; json: difficulty and category), so either
      output imports back to the same set and marks. OUT is never the set
      itself (under any name or link), another question set, a link that
      leads to no file or anything but a regular file.

  import SOURCE... -o FILE [--from csv|json|txt] [--append] [--dry-run] [--strict]
      Builds a question set from the sources, read by their extension or as
      --from says:
      .csv   UTF-8 or Windows-1252; a header row naming question, answer,
             wrong1, wrong2 and wrong3 (in any order), and optionally
             difficulty and topic
      A file that is UTF-8 but for some stray bytes is refused at the line of
      the first, rather than read as Windows-1252.
      .json  Open Trivia Database downloads; HTML references are decoded and
             true/false questions skipped
      .txt   blocks of "#Q question", "^ correct answer" and "A" to "D"
             options (one of them the correct answer), separated by blank
             lines; lines starting with // are comments. A block may hold
             one "#D easy", "#D medium" or "#D hard" line after its #Q line:
             the question's difficulty mark
      Each row that cannot be taken is reported as FILE:LINE with the reason
      (an empty field, a text longer than 75 characters, a character that
      Windows-1252 cannot hold, the correct answer repeated as a wrong one, a
      wrong answer given twice, a question already imported or already in the
      set). Questions are compared trimmed and in any letter case.
      Sources larger than 256 MiB are refused.
      -o FILE     the set to write; it is replaced as a whole, through a
                  temporary file, so a failed run leaves it untouched. Only a
                  question set is replaced, and only when every row is taken:
                  a skipped row leaves it as it was. A new set names the topic
                  its rows name.
      --append    add to the end of the existing set FILE (checked first)
      --dry-run   check and report only; -o may then be left out
      --strict    fail (exit 1, nothing written) when any row is skipped
      A run that takes no question at all fails and writes nothing.
      When questions carry difficulty marks, they are written beside the set
      to FILE.difficulty: one line per question in record order, the mark
      (easy, medium, hard, or - for none), a tab and the question.

  sets SOURCE... -d DIR [--strict] [--dry-run]
      Builds one set per source in DIR, read and checked as import does,
      each named after its source in capitals (arts.txt gives ARTS.QST) and
      with a header naming its topic (Arts). No source may be named regd.
      -d, --dir DIR  the folder for the sets; sets of the same name there
                     are replaced
      --strict, --dry-run  as for import, for each set

  pairs SOURCE... [--reviewed FILE] [--all] [--min-score SCORE]
      Lists give-aways among all the sources together, as the full set mixes
      every topic: a question B that tells the correct answer of another
      question A, because B's text holds it (the player reads it), B's
      correct answer holds it (the Wrong panel shows it), or one of B's wrong
      options does (the player sees it among the choices). Texts are compared
      as words in any letter case, each folded to its stem (Snowball English:
      "guillotined" and "Guillotine" are one word), with the answer's leading
      article (a, an, the) left out; the answer's words must stand together
      and in order. Also listed: questions that answer themselves (a word of
      the correct answer stands in the question while no word of a wrong
      option does) and the same question asked twice (the same words,
      articles aside).
      Each line is FILE:LINE of question B, the kind (text, shown answer,
      option, own wording or duplicate), a score, both texts and FILE:LINE of
      question A; best first. The score is 3 for a text (or own wording), 2
      for a shown answer, 1 for an option, times the sum of how rare the
      answer's words and the other words A's question shares with B are:
      ln((questions + 1) / questions holding the word) for each. A name that
      stands in many questions scores low; two questions about the same
      thing score high.
      Answers too short or too common to give anything away are not looked
      for: a single letter, a number from 0 to 12 (in figures or words),
      words of quantity or choice (None, All, Both, Neither, Yes, No, True,
      False, Many, Few, "All of these", "None of the above", ...) and little
      words such as And, Or, Not, The, Of, Who.
      --reviewed FILE    pairs read and found to give nothing away, left out
                         of the list: one a line, FILE | ANSWER | QUESTION |
                         REASON (the file name of A's source, A's answer,
                         B's question, why it gives nothing away; for a
                         question answering itself B is A, for a duplicate
                         A is the earlier copy); lines starting with # are
                         comments
      --min-score SCORE  leave out pairs scoring below SCORE (default 20;
                         0 lists every pair); questions answering themselves
                         and duplicates are always listed
      --all              list the reviewed pairs too, with their reasons,
                         and every answer not looked for
      Exits 1 while any pair listed is not in the record.

  lengths SOURCE...
      Prints how long the correct answers are beside the wrong ones, for
      question writers: one line per source and one for all together, with
      the number of questions, how often the correct answer is longer than
      each wrong option (count and share), and the mean length in characters
      of the correct answers and of the wrong options. When the correct
      answer is the longest option much more often than one time in four, or
      longer than the wrong ones on average, players learn to pick the
      longest. Sources are read as import reads them.

  figures FILE [-o OUT] [--database DB]
      Writes how each question of the set has fared in games, as the game
      counts it in its hall of fame database, as UTF-8 CSV to standard
      output, or to OUT: the header row number,question,asked,right,percent
      right, then one row per question in the set's order (percent right is
      empty for a question never asked). A set is known by its file name and
      header, wherever it lies.
      --database DB  the scores database to read; by default the game's own,
                     scores.sqlite in the user's data folder
                     (~/.local/share/Trivora). A database that does not exist
                     gives figures of questions never asked and is not made; a
                     database is only read: one that is damaged, of an older
                     version or not the game's is named and left as it is, and
                     the command fails. A venue's server is given as
                     postgresql://user@host:port/dbname (the password from
                     ~/.pgpass): its figures are only read.

  difficulty SET [--database DB] [--write] [--min-asked N]
      Proposes difficulty marks learnt from play, from the figures the
      figures command reads (the same database, read the same way): one line
      per question whose mark would change, with its number in the set, the
      mark it has and the one proposed, how often it was asked and answered
      right, the share right and its 95 % interval, and the question.
      The rule: a question asked at least 20 times falls in the band of its
      share right: easy from 75 %, hard up to 40 %, medium between. A
      question without a mark gets its band's mark. A marked question gets
      another only when the figures clearly disagree with its mark: when the
      95 % Wilson score interval of its share right lies wholly outside the
      mark's band. So a few unlucky games on a small sample do not flip a
      mark, while a question players plainly find easier or harder than
      marked is moved. The marks the set has are read from SET.difficulty
      (see import); a line that names another question than its record
      counts as no mark.
      --database DB  as for figures
      --write        store the proposals in SET.difficulty, every other
                     question keeping its mark; the file is replaced as a
                     whole, so a failed run leaves it as it was
      --min-asked N  the least number of times asked (default 20)

Options:
  -h, --help     show this text
  --version      show the version

Only regular files are read: a folder, named pipe or device given as FILE or
SOURCE is refused at once, as a usage error.

Exit status: 0 success, 1 input rejected or file unusable, 2 usage error.
)";

struct Args {
    std::vector<std::string> positional;
    std::string m_output;
    std::string format;
    std::string from;
    bool append = false;
    bool dryRun = false;
    bool strict = false;
    std::string dir;
    std::optional<std::string> reviewed;
    bool all = false;
    std::string minScore;
    std::string database;
    bool write = false;
    std::string minAsked;
};

// Arguments pass through the parser as Latin-1, which maps every byte to one character and
// back, so file names that are not UTF-8 arrive unchanged.
QString text(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
std::string bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

// The option named in one of the parser's messages ("Missing value after '--format'."), or
// nothing.
std::string quotedName(const QString& message) {
    const qsizetype open = message.indexOf(u'\'');
    const qsizetype close = message.lastIndexOf(u'\'');
    if (open < 0 || close <= open) return {};
    return bytes(message.mid(open + 1, close - open - 1));
}

// Parses the options of one command; false with the message in why on misuse.
bool parseArgs(const std::vector<std::string>& args, const std::string& command, Args& a,
               std::string& why) {
    QCommandLineParser parser;
    // "-o" is the one short option; a single dash never joins letters into several options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption output({"o", "output"}, {}, "FILE");
    const QCommandLineOption format("format", {}, "FORMAT");
    const QCommandLineOption from("from", {}, "FORMAT");
    const QCommandLineOption append("append");
    const QCommandLineOption dryRun("dry-run");
    const QCommandLineOption strict("strict");
    const QCommandLineOption dir({"d", "dir"}, {}, "DIR");
    const QCommandLineOption reviewed("reviewed", {}, "FILE");
    const QCommandLineOption all("all");
    const QCommandLineOption minScore("min-score", {}, "SCORE");
    const QCommandLineOption database("database", {}, "DB");
    const QCommandLineOption write("write");
    const QCommandLineOption minAsked("min-asked", {}, "N");
    if (command == "export" || command == "import" || command == "figures")
        parser.addOption(output);
    if (command == "figures" || command == "difficulty") parser.addOption(database);
    if (command == "difficulty") parser.addOptions({write, minAsked});
    if (command == "export") parser.addOption(format);
    if (command == "import") parser.addOptions({from, append, dryRun, strict});
    if (command == "sets") parser.addOptions({dir, strict, dryRun});
    if (command == "pairs") parser.addOptions({reviewed, all, minScore});

    QStringList list{"trivora-qst"};
    for (std::size_t i = 1; i < args.size(); ++i)
        list << text(args[i]);
    if (!parser.parse(list)) {
        const QStringList unknown = parser.unknownOptionNames();
        const std::string message = bytes(parser.errorText());
        const std::string name = quotedName(parser.errorText());
        if (!unknown.isEmpty()) {
            const std::string first = bytes(unknown.first());
            why = "unknown option " + std::string(first.size() == 1 ? "-" : "--") + first +
                  " for " + command;
        } else if (message.starts_with("Missing value") && !name.empty()) {
            why = "option " + name + " needs a value";
        } else if (message.starts_with("Unexpected value") && !name.empty()) {
            why = "option " + name + " takes no value";
        } else {
            why = message;
        }
        return false;
    }
    for (const QString& arg : parser.positionalArguments())
        a.positional.push_back(bytes(arg));
    if (command == "export" || command == "import" || command == "figures")
        a.m_output = bytes(parser.value(output));
    if (command == "figures" || command == "difficulty") a.database = bytes(parser.value(database));
    if (command == "difficulty") {
        a.write = parser.isSet(write);
        a.minAsked = bytes(parser.value(minAsked));
    }
    if (command == "export") a.format = bytes(parser.value(format));
    if (command == "import") a.from = bytes(parser.value(from));
    if (command == "import") a.append = parser.isSet(append);
    if (command == "import" || command == "sets") {
        a.dryRun = parser.isSet(dryRun);
        a.strict = parser.isSet(strict);
    }
    if (command == "sets") a.dir = bytes(parser.value(dir));
    if (command == "pairs") {
        if (parser.isSet(reviewed)) a.reviewed = bytes(parser.value(reviewed));
        a.all = parser.isSet(all);
        a.minScore = bytes(parser.value(minScore));
    }
    return true;
}

int runInfo(const Args& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() != 1) return usageError(err, "info needs exactly one FILE");
    return inspectQuestions(a.positional[0], out, err);
}

int runExport(const Args& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() != 1) return usageError(err, "export needs exactly one FILE");
    ExportFormat format = ExportFormat::Csv;
    if (a.format == "json")
        format = ExportFormat::Json;
    else if (!a.format.empty() && a.format != "csv")
        return usageError(err, "unknown format '" + a.format + "' (use csv or json)");
    if (a.m_output.empty()) return exportQuestions(a.positional[0], format, out, err);
    if (a.m_output == a.positional[0])
        return usageError(err, "the output must not be the question set itself");
    if (const std::string why = textOutputRefusal(a.m_output, {a.positional[0]}); !why.empty())
        return usageError(err, why);
    SaveFile file;
    if (!file.open(a.m_output)) {
        err << "trivora-qst: " << file.errorText() << "\n";
        return 1;
    }
    const auto write = [&file](std::string_view text) {
        file.write(text);
        return true;
    };
    const int status = exportQuestions(a.positional[0], format, write, err);
    if (status != 0) return status;
    if (!file.commit()) {
        err << "trivora-qst: " << file.errorText() << "\n";
        return 1;
    }
    return 0;
}

int runImport(const Args& a, std::ostream& err) {
    ImportOptions options;
    options.sources = a.positional;
    options.m_output = a.m_output;
    options.append = a.append;
    options.dryRun = a.dryRun;
    options.strict = a.strict;
    if (a.from == "csv")
        options.from = SourceFormat::Csv;
    else if (a.from == "json")
        options.from = SourceFormat::Json;
    else if (a.from == "txt")
        options.from = SourceFormat::Text;
    else if (!a.from.empty())
        return usageError(err, "unknown source format '" + a.from + "' (use csv, json or txt)");
    if (options.sources.empty()) return usageError(err, "import needs at least one SOURCE");
    if (options.m_output.empty() && !options.dryRun)
        return usageError(err, "import needs -o FILE (or --dry-run)");
    return importQuestions(options, err);
}

int runSets(const Args& a, std::ostream& err) {
    return buildTopicSets({a.positional, a.dir, a.strict, a.dryRun}, err);
}

int runPairs(const Args& a, std::ostream& out, std::ostream& err) {
    PairsOptions options{a.positional, a.reviewed, a.all};
    if (!a.minScore.empty()) {
        bool ok = false;
        options.minScore = QString::fromStdString(a.minScore).toDouble(&ok);
        if (!ok || !(options.minScore >= 0))
            return usageError(err,
                              "--min-score needs a number of 0 or more, not '" + a.minScore + "'");
    }
    return listGiveAways(options, out, err);
}

int runFigures(const Args& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() != 1) return usageError(err, "figures needs exactly one FILE");
    return exportFigures({a.positional[0], a.m_output, a.database}, out, err);
}

int runDifficulty(const Args& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() != 1) return usageError(err, "difficulty needs exactly one SET");
    DifficultyOptions options{a.positional[0], a.database, a.write};
    if (!a.minAsked.empty()) {
        bool ok = false;
        options.minAsked = QString::fromStdString(a.minAsked).toInt(&ok);
        if (!ok || options.minAsked < 1)
            return usageError(err, "--min-asked needs a whole number of 1 or more, not '" +
                                       a.minAsked + "'");
    }
    return proposeDifficulty(options, out, err);
}

} // namespace

int usageError(std::ostream& err, const std::string& what) {
    err << "trivora-qst: " << what << "\nTry 'trivora-qst --help' for more information.\n";
    return 2;
}

const char* qstToolUsage() {
    return Usage;
}

int runQstTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usageError(err, "no command given");
    const std::string& command = args[0];
    if (command == "-h" || command == "--help" || command == "help") {
        out << Usage;
        return 0;
    }
    if (command == "--version") {
        out << "trivora-qst " << TRIVORA_VERSION << "\n";
        return 0;
    }
    if (command != "info" && command != "export" && command != "import" && command != "sets" &&
        command != "pairs" && command != "figures" && command != "lengths" &&
        command != "difficulty")
        return usageError(err, "unknown command '" + command + "'");
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--") break;
        if (args[i] == "-h" || args[i] == "--help") {
            out << Usage;
            return 0;
        }
    }
    Args a;
    std::string why;
    if (!parseArgs(args, command, a, why)) return usageError(err, why);
    if (command == "info") return runInfo(a, out, err);
    if (command == "export") return runExport(a, out, err);
    if (command == "sets") return runSets(a, err);
    if (command == "pairs") return runPairs(a, out, err);
    if (command == "figures") return runFigures(a, out, err);
    if (command == "lengths") return reportLengths(a.positional, out, err);
    if (command == "difficulty") return runDifficulty(a, out, err);
    return runImport(a, err);
}
