// orvhost: the command-line host. It loads the importer plug-ins of a folder
// as the viewer does, and lets a user or an integrator see and use them:
// their identity and file filters, which of them takes a file, opening it,
// and the import options kept in a settings file.
#include "Commands.h"
#include "PluginHost.h"

#include <CLI/CLI.hpp>
#include <orvsgutils/PathUtils.h>
#include <orvui/GUIResLoader.h>

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>
#endif

#include <cstdio>
#include <memory>
#include <utility>
#include <exception>
#include <string>
#include <vector>

namespace {

using orvhost::ExitStatus;

std::string footer() {
  std::string text = "Exit status:";
  for (const orvhost::StatusMeaning& row : orvhost::statusMeanings)
    text += "\n  " + std::to_string(static_cast<int>(row.status)) + "  " + row.meaning;
  return text;
}

// The positionals by the form the user types. CLI11 2.4 refuses '=' in an
// option's name, which 2.1 took: the help and the errors show this instead.
constexpr std::pair<const char*, const char*> shownNames[] = {{"ASSIGNMENT", "NAME=VALUE"}};

std::string shown(const std::string& name) {
  for (const auto& [internal, form] : shownNames)
    if (name == internal) return form;
  return name;
}

class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option_name(const CLI::Option* option, bool positional) const override {
    const std::string name = CLI::Formatter::make_option_name(option, positional);
    return positional ? shown(name) : name;
  }
};

// A missing positional, named as the help shows it.
CLI::RequiredError shownRequired(const CLI::RequiredError& error) {
  const std::string message = error.what();
  for (const auto& [internal, form] : shownNames)
    if (message.rfind(std::string(internal) + " ", 0) == 0) return CLI::RequiredError(form);
  return error;
}

// --json before any "--", seen before parsing: a bad command line is
// answered in JSON too.
bool wantsJson(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--json") return true;
  }
  return false;
}

// The command line as UTF-8. On Windows main's argv is in the ANSI code
// page, which cannot hold every path: take the wide command line instead,
// kept whole (see argument()).
std::vector<std::string> utf8Arguments(int argc, char** argv) {
#if defined(_WIN32)
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wideArgs = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(orvhost::argument(wideArgs[i]));
  LocalFree(wideArgs);
  return arguments;
#else
  return std::vector<std::string>(argv, argv + argc);
#endif
}

// CLI11 reports an unknown command only as a missing one: name it.
void checkCommandName(const std::vector<std::string>& arguments) {
  static const char* const commands[] = {"plugins", "filters", "check", "open", "options", "validate"};
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--plugin-dir" || argument == "--settings" || argument == "--importer") {
      ++i;  // its value
    } else if (argument.empty() || argument[0] != '-') {
      for (const char* command : commands)
        if (argument == command) return;
      throw CLI::ExtrasError("unknown command \"" + argument +
                             "\"; the commands are plugins, filters, check, open, options and validate",
                             CLI::ExitCodes::ExtrasError);
    }
  }
}

// Help and the version, asked for: as text, or as the JSON answer.
int told(CLI::App& app, const CLI::Success& asked, const nlohmann::json& answer, orvhost::Report& report) {
  if (!report.json()) return app.exit(asked);
  report.command(answer, nullptr);
  return report.end(ExitStatus::Success);
}

int run(std::vector<std::string>& arguments, orvhost::Report& report) {
  CLI::App app{"Loads the importer plug-ins of a folder as the CAD viewer does, and uses them.", "orvhost"};
  app.formatter(std::make_shared<HelpFormatter>());
  app.footer(footer());
  app.require_subcommand(1);
  // The same command line on every system: on Windows, CLI11 would take a
  // path such as /work/part.sldprt (Wine's, or a share's) for an option.
  app.allow_windows_style_options(false);
  // Global options may follow the command too: orvhost plugins --json.
  app.fallthrough();

  orvhost::Context context(report);
  std::string pluginFolder;
  std::string settingsFile;
  app.add_option("--plugin-dir", pluginFolder, "Folder of importer modules (default: plugins/ beside bin/)");
  app.add_option("--settings", settingsFile, "Settings file (default: the user's orvhost.ini)");
  app.add_flag("--json", "Print one JSON document instead of text, whatever happens");
  std::string importer;
  app.add_option("--importer", importer, "Use only the importer of this name (as plugins lists it)");
  app.set_version_flag("--version", "orvhost " ORVHOST_VERSION, "Print the release's version and exit");

  CLI::App* plugins = app.add_subcommand("plugins", "Identity, name, version, release date and module of each importer");
  bool verbose = false;
  plugins->add_flag("--verbose", verbose, "Also list the libraries passed over: modules with no plug-in entry points");
  CLI::App* filters = app.add_subcommand("filters", "Each importer's file-dialog filters, as a table");
  CLI::App* check = app.add_subcommand("check", "Which importer accepts each path (status 0 when all are accepted)");
  std::vector<std::string> paths;
  check->add_option("PATH", paths, "Paths to check")->required();
  CLI::App* open = app.add_subcommand("open", "Open a file with the importer that accepts it");
  std::string path;
  open->add_option("PATH", path, "File to open")->required();

  CLI::App* options = app.add_subcommand("options", "The import options as the preference dialog shows them");
  bool defaults = false;
  options->add_flag("--defaults", defaults, "Show the defaults, not the values of the settings file");
  options->require_subcommand(0, 1);
  CLI::App* set = options->add_subcommand("set", "Change options and save them to the settings file");
  std::vector<std::string> assignments;
  set->add_option("ASSIGNMENT", assignments,
                  "NAME exactly as listed; VALUE: true/false/1/0, a choice's label or number, #RRGGBB")
      ->required();
  CLI::App* reset = options->add_subcommand("reset", "Put options back to their defaults and save them");
  std::vector<std::string> names;
  reset->add_option("NAME", names, "Options to reset (default: all)");
  CLI::App* edit = options->add_subcommand(
      "edit", "Change the options in the preference dialog (Windows; --importer picks the importer)");

  // validate: a subsystem of its own (validate/), whose modules load in child processes.
  CLI::App* validate = app.add_subcommand("validate", "Check plug-in modules against the host's contract, each "
                                                      "in a process of its own (status 4 when a check fails)");
  orvhost::ValidateRequest request;
  validate->add_option("MODULE", request.modules, "Plug-in modules to check")->required();
  validate->add_option("--timeout", request.timeout, "Seconds a module's checks may take (default 30)")
      ->check(CLI::Range(1, 86400));
  validate->add_option("--junit", request.junit, "Also write a JUnit XML report to this file");
  validate->add_flag("--child", request.child)->group("");  // internal: the process that checks one module

  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  try {
    checkCommandName(arguments);
    app.parse(static_cast<int>(argv.size()), argv.data());
    if (defaults && (set->parsed() || reset->parsed() || edit->parsed()))
      throw CLI::ValidationError("--defaults", "only shows options; it does not go with set, reset or edit");
  } catch (const CLI::CallForHelp& asked) {
    return told(app, asked, {{"help", app.help()}}, report);
  } catch (const CLI::CallForVersion& asked) {
    return told(app, asked, {{"version", ORVHOST_VERSION}}, report);
  } catch (const CLI::RequiredError& error) {
    const CLI::RequiredError named = shownRequired(error);
    app.exit(named);
    return report.end(ExitStatus::Usage, named.what());
  } catch (const CLI::ParseError& error) {
    if (app.exit(error) == 0) return report.end(ExitStatus::Success);
    return report.end(ExitStatus::Usage, error.what());
  }

  // Without them every option's name and label would be empty.
  if (const std::string failure = orvui::GUIResLoader::instance().failure(); !failure.empty())
    throw orvhost::HostError(ExitStatus::Failure, "the host's GUI strings cannot be loaded: " + failure);

  context.pluginFolder = pluginFolder.empty() ? orvhost::PluginHost::defaultFolder()
                                              : orvsgutils::PathUtils::toPath(orvhost::wide(pluginFolder));
  if (!settingsFile.empty()) context.settingsFile = orvsgutils::PathUtils::toPath(orvhost::wide(settingsFile));
  if (app.count("--importer") > 0) context.importer = importer;

  ExitStatus status = ExitStatus::Success;
  if (validate->parsed()) status = orvhost::validateModules(context, request);
  else if (plugins->parsed()) status = orvhost::listPlugins(context, verbose);
  else if (filters->parsed()) status = orvhost::listFilters(context);
  else if (check->parsed()) status = orvhost::checkPaths(context, paths);
  else if (open->parsed()) status = orvhost::openFile(context, path);
  else if (set->parsed()) status = orvhost::setOptions(context, assignments);
  else if (reset->parsed()) status = orvhost::resetOptions(context, names);
  else if (edit->parsed()) status = orvhost::editOptions(context);
  else if (options->parsed()) status = orvhost::showOptions(context, defaults);
  return report.end(status);
}

#if defined(_WIN32)
// UTF-8 output for the console while orvhost runs; the console is the
// user's, so its own code page comes back at exit.
class Utf8Console {
 public:
  Utf8Console() : previous_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
  ~Utf8Console() { SetConsoleOutputCP(previous_); }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  UINT previous_;
};
#endif

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  // Libraries are loaded from the program's folder, the folders the host adds
  // and the system's, never from the current directory or PATH.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  const Utf8Console console;
#endif
  orvhost::Report report;
  try {
    std::vector<std::string> arguments = utf8Arguments(argc, argv);
    report.setJson(wantsJson(arguments));
    return run(arguments, report);
  } catch (const orvhost::HostError& error) {
    std::fprintf(stderr, "orvhost: %s\n", error.what());
    return report.end(error.status(), error.what());
  } catch (const std::exception& error) {
    const std::string message = std::string("unexpected failure: ") + error.what();
    std::fprintf(stderr, "orvhost: %s\n", message.c_str());
    return report.end(ExitStatus::Failure, message);
  }
}
