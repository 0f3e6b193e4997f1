// quillet xml test FILE EXPR: the truth of an expression at a node, "true" or "false".
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "Command.h"
#include "XmlGroup.h"
#include "XmlPathContext.h"
#include "xml/common/U16String.h"

namespace {

using namespace quillet::tool;
using namespace quillet::xml;

struct TestOptions {
  PathContextOptions context;
  std::string expression;
  std::optional<int> position;
  std::optional<int> size;
};

int RunTest(const TestOptions& options) {
  PathContext context;
  int exitCode = 0;
  if (!LoadPathContext(options.context, context, exitCode)) return exitCode;
  const std::u16string expression = Utf8ToU16(options.expression);
  bool result = false;
  const int status = options.position ? context.node->testExpressionAt(expression.c_str(), result, *options.size,
                                                                        *options.position)
                                      : context.node->testExpression(expression.c_str(), result);
  if (status < 0) return PathEvaluationFailed(options.expression);
  std::cout << (result ? "true" : "false") << "\n";
  return 0;
}

quillet::tool::CommandRegistration registration([](CLI::App& app) {
  auto options = std::make_shared<TestOptions>();
  CLI::App* cmd = XmlGroup(app).add_subcommand("test", "Print whether an expression is true at a node of FILE");
  AddPathContextOptions(cmd, options->context);
  cmd->add_option("EXPR", options->expression, "The expression")->required();
  CLI::Option* position =
      cmd->add_option("--position", options->position, "The context position (default: from the siblings)")
          ->type_name("N");
  CLI::Option* size =
      cmd->add_option("--size", options->size, "The context size (default: from the siblings)")->type_name("M");
  position->needs(size);
  size->needs(position);
  cmd->callback([options] { ExitCode() = RunTest(*options); });
});

}  // namespace
