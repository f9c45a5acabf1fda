#include "tests/support/child_process.h"

#include "tests/support/temp_dir.h"

namespace Ostra::testing {

ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args) {
  TempDir folder;
  const std::filesystem::path outputFile = folder.file("output.txt");
  ChildResult result;
  {
    ChildProcess child(program, args, outputFile);
    result.exitCode = child.wait();
  }
  result.output = readBytes(outputFile);
  return result;
}

}  // namespace Ostra::testing
