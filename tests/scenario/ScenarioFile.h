#pragma once
// A scenario: edits made to one document, the same whichever front end makes
// them. A scenario file holds one step a line; blank lines and lines starting
// with '#' are skipped; words are separated by one blank:
//   new                      the document starts as File > New makes it
//   open PATH                ... or as the .sin file PATH (from the source tree's top)
//   set N CAPTION TEXT       channel N's cell in the column CAPTION (as the
//                            command line's --column takes it) gets TEXT, all
//                            of the rest of the line, blanks included (no
//                            TEXT: the cell is emptied)
//   refuse N CAPTION TEXT    the same, but the cell must refuse TEXT and
//                            leave the document as it was
//   import-csv FILE [apply-valid] [merge] [renumber]
//                            the channels of FILE (beside the scenario file)
//                            imported as `ostreltz-cli import-csv` does with
//                            those options; a window answers its questions
//                            alike (apply-valid: import the valid lines;
//                            merge: keep the channels the file does not name)
//   language en|zh           the program shows its texts in English or Chinese
//                            from here on (it starts in Chinese)
// The first step is `new` or `open`; the scenario's result is NAME.sin
// beside NAME.scenario. The command line saves the file after each step and
// opens it again for the next one, so a field set back to the text the file
// was opened with keeps the file's bits in one session only: no scenario
// does that.
#include <optional>
#include <string>
#include <vector>

struct ScenarioStep {
    enum class Kind { Set, Refuse, ImportCsv, Language };
    Kind kind = Kind::Set;
    int channel = 0;
    std::string caption;
    std::string text;  // the cell's text, the CSV file's path, or "en" or "zh"
    bool applyValid = false;
    bool merge = false;
    bool renumber = false;
};

struct Scenario {
    std::string name;
    std::string openPath;  // empty for a new document
    std::vector<ScenarioStep> steps;
};

// The scenario in `path`; nothing, with the line that is not understood in
// `problem`, when the file does not follow the form above.
std::optional<Scenario> ReadScenario(const std::string& path, std::string& problem);

// The scenario files of `folder`, by name.
std::vector<std::string> ScenarioFiles(const std::string& folder);
