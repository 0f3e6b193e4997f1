// quillet: the command-line face of the Quillet library.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cwchar>
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "CommandSupport.h"
#include "api/SafeMode.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"
#include "quillet/quillet_c.h"
#include "xml/common/U16String.h"

namespace quillet::tool {
int& ExitCode() {
  static int code = 0;
  return code;
}
}  // namespace quillet::tool

namespace {

using quillet::tool::ClosestMatch;
using quillet::tool::kExitUsage;

// The options of the program itself, which may stand before or after the command.
const char kPrefixOption[] = "--prefix";
bool TakesValue(const std::string& word) { return word == kPrefixOption; }
bool IsOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

std::vector<std::string> SubcommandNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* sub : app.get_subcommands({})) names.push_back(sub->get_name());
  return names;
}

// The command of `app` named `word`, or null.
const CLI::App* Subcommand(const CLI::App& app, const std::string& word) {
  for (const CLI::App* sub : app.get_subcommands({}))
    if (sub->get_name() == word) return sub;
  return nullptr;
}

// "unknown command 'PATH WORD'", with the closest command of `above` when one is close.
std::string UnknownCommand(const std::string& path, const std::string& word, const CLI::App& above) {
  const std::string close = ClosestMatch(word, SubcommandNames(above));
  return "unknown command '" + (path.empty() ? "" : path + " ") + word + "'" +
         (close.empty() ? "" : "; did you mean '" + close + "'?");
}

// The options of `app` and of the commands above it, as typed ("--id", "-q"); those
// that take a value also go to `withValue`.
std::vector<std::string> OptionNames(const CLI::App& app, std::vector<std::string>* withValue = nullptr) {
  std::vector<std::string> names;
  for (const CLI::App* a = &app; a != nullptr; a = a->get_parent())
    for (const CLI::Option* option : a->get_options()) {
      std::vector<std::string> typed;
      for (const std::string& name : option->get_lnames()) typed.push_back("--" + name);
      for (const std::string& name : option->get_snames()) typed.push_back("-" + name);
      names.insert(names.end(), typed.begin(), typed.end());
      if (withValue != nullptr && option->get_items_expected_max() > 0 && option->get_positional() == false)
        withValue->insert(withValue->end(), typed.begin(), typed.end());
    }
  return names;
}

// The first option word on the command line that `command` and the commands above it
// do not know; "" when there is none.
std::string UnknownOption(const CLI::App& command, int argc, char** argv) {
  std::vector<std::string> withValue;
  const std::vector<std::string> known = OptionNames(command, &withValue);
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    if (word == "--") break;
    if (!IsOption(word) || word == "-h" || word == "--help") continue;
    const bool inlineValue = word.find('=') != std::string::npos;
    word = word.substr(0, word.find('='));
    if (std::find(known.begin(), known.end(), word) == known.end()) return word;
    if (!inlineValue && std::find(withValue.begin(), withValue.end(), word) != withValue.end()) ++i;
  }
  return "";
}

// Reports a usage error as users read them: one line naming what was wrong, one line
// saying where the usage is.
int UsageError(const std::string& message, const std::string& command) {
  std::cerr << "quillet: " << message << "\nRun 'quillet " << (command.empty() ? "--help" : "help " + command)
            << "' for the usage.\n";
  return kExitUsage;
}

// Walks the command words of the command line (skipping options and their values)
// down the tree of commands. Returns the deepest command the words name, and in
// `unknown` the first word that names none where a command was expected.
const CLI::App* FindCommand(const CLI::App& app, int argc, char** argv, std::string& path, std::string& unknown) {
  const CLI::App* current = &app;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--") break;
    if (IsOption(word)) {
      if (TakesValue(word)) ++i;
      continue;
    }
    if (current->get_subcommands({}).empty()) break;  // the command's own arguments
    const CLI::App* next = Subcommand(*current, word);
    if (next == nullptr) {
      unknown = word;
      return current;
    }
    current = next;
    path += (path.empty() ? "" : " ") + word;
  }
  return current;
}

// `quillet help [COMMAND...]`: the help of the program or of a command.
int PrintHelp(const CLI::App& app, const std::vector<std::string>& words) {
  const CLI::App* current = &app;
  std::string path;
  std::string above;  // the words before the command's own name, for its usage line
  for (const std::string& word : words) {
    const CLI::App* next = Subcommand(*current, word);
    if (next == nullptr) return UsageError(UnknownCommand(path, word, *current), "");
    above = current == &app ? "quillet" : above + " " + current->get_name();
    current = next;
    path += (path.empty() ? "" : " ") + word;
  }
  std::cout << current->help(above);
  return 0;
}

int RunTool(int argc, char** argv) {
  CLI::App app{"quillet: register compiled HTML Help titles with Microsoft HTML Help", "quillet"};
  app.require_subcommand(1);
  app.fallthrough();  // --prefix may also follow the command
  std::string prefix;
  app.add_option(kPrefixOption, prefix,
                 "The Wine prefix to work on (else $QUILLET_PREFIX, else $WINEPREFIX, else $HOME/.wine)")
      ->type_name("DIR")
      ->check([](const std::string& value) { return value.empty() ? std::string("needs a directory") : ""; });
  // The tool protects the user's files: see the README's "Safe mode".
  QuilletSetSafeMode(1);
  app.add_flag_callback(
      "--self-closing-empty-tags", [] { quillet::SetSelfClosingEmptyTags(true); },
      "Save an empty element as <Name/> even in HTML Help's own file form, which HTML Help cannot read back");
  app.add_flag_callback(
      "--version",
      [] {
        char text[64];
        QuilletGetVersion(text);
        std::cout << text << "\n";
        throw CLI::Success();
      },
      "Print the library's version text and exit");
  // Runs once the whole command line is parsed, before any command's own callback.
  app.parse_complete_callback([&prefix] {
    if (!prefix.empty()) quillet::platform::SetPrefix(prefix);
  });
  using namespace quillet::tool;
  for (auto add : {AddBackupCommand, AddFoldersCommand, AddInitCommand, AddInstallCommands, AddTitlesCommand,
                   AddVersionCommand, AddWhereCommand, AddXmlEventsCommand, AddXmlFormatCommand, AddXmlMatchCommand,
                   AddXmlSelectCommand, AddXmlSerializeCommand, AddXmlTestCommand, AddXmlTreeCommand})
    add(app);
  std::vector<std::string> helpWords;
  // Answered before the parse (below); listed here so that the help shows it.
  app.add_subcommand("help", "Print the help of the program or of a command (quillet help install)")->allow_extras();

  // What CLI11 would answer to a mistyped command or option ("A subcommand is
  // required", "The following arguments were not expected") says too little.
  int prefixes = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == kPrefixOption || word.rfind(std::string(kPrefixOption) + "=", 0) == 0) ++prefixes;
  }
  if (prefixes > 1) return UsageError("--prefix is given more than once; give it once", "");
  std::string path;
  std::string unknown;
  const CLI::App* command = FindCommand(app, argc, argv, path, unknown);
  if (!unknown.empty() && path != "help") return UsageError(UnknownCommand(path, unknown, *command), path);
  bool wantsHelp = false;
  for (int i = 1; i < argc; ++i) wantsHelp = wantsHelp || std::string(argv[i]) == "--help" ||
                                             std::string(argv[i]) == "-h" || std::string(argv[i]) == "--version";
  if (!wantsHelp && !command->get_subcommands({}).empty()) {
    std::string list;
    for (const std::string& name : SubcommandNames(*command)) list += (list.empty() ? "" : ", ") + name;
    return UsageError((path.empty() ? std::string("a command is needed") : "'" + path + "' needs a command") +
                          ": one of " + list,
                      path);
  }
  if (path == "help") {
    for (int i = 1; i < argc; ++i) {
      const std::string word = argv[i];
      if (TakesValue(word)) ++i;
      else if (!IsOption(word) && word != "help") helpWords.push_back(word);
    }
    return PrintHelp(app, helpWords);
  }
  if (const std::string option = UnknownOption(*command, argc, argv); !option.empty()) {
    const std::string close = ClosestMatch(option, OptionNames(*command));
    return UsageError("unknown option '" + option + "'" + (path.empty() ? "" : " for '" + path + "'") +
                          (close.empty() ? "" : "; did you mean '" + close + "'?"),
                      path);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::Success&) {
    return 0;
  } catch (const CLI::ParseError& e) {
    return UsageError(e.what(), path);
  }
  return quillet::tool::ExitCode();
}

}  // namespace

#ifdef _WIN32
// Windows hands a program its command line as UTF-16 (main's argv would be in the ANSI
// code page, without the characters it lacks); the tool's texts are UTF-8.
int wmain(int argc, wchar_t** wideArgv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i)
    arguments.push_back(quillet::xml::U16ToUtf8(std::u16string(wideArgv[i], wideArgv[i] + std::wcslen(wideArgv[i]))));
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);
  return RunTool(argc, argv.data());
}
#else
int main(int argc, char** argv) { return RunTool(argc, argv); }
#endif
