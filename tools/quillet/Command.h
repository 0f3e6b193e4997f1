// How the tool's commands are put together: each commands file has a function that
// adds its subcommands to the application, and main() calls each in turn.
#ifndef QUILLET_TOOL_COMMAND_H
#define QUILLET_TOOL_COMMAND_H

#include <CLI/CLI.hpp>


namespace quillet::tool {

// The tool's own exit codes; every other non-zero code is the library's result code.
constexpr int kExitFailed = 1;  // the command could not do its work (a file that cannot be
                                // read or written, a file of the wrong kind, ...)
constexpr int kExitUsage = 2;   // bad arguments: nothing was read or changed

// The exit code a command's callback leaves for main().
int& ExitCode();

// The commands, one function a file, in the order they are listed in the help.
void AddBackupCommand(CLI::App& app);    // backup registry | collection
void AddFoldersCommand(CLI::App& app);   // folders
void AddInitCommand(CLI::App& app);      // init
void AddInstallCommands(CLI::App& app);  // install, remove
void AddTitlesCommand(CLI::App& app);    // titles
void AddVersionCommand(CLI::App& app);   // version
void AddWhereCommand(CLI::App& app);     // where
// The `xml` group (see XmlGroup.h).
void AddXmlEventsCommand(CLI::App& app);
void AddXmlFormatCommand(CLI::App& app);
void AddXmlMatchCommand(CLI::App& app);
void AddXmlSelectCommand(CLI::App& app);
void AddXmlSerializeCommand(CLI::App& app);
void AddXmlTestCommand(CLI::App& app);
void AddXmlTreeCommand(CLI::App& app);

}  // namespace quillet::tool

#endif
