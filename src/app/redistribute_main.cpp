#include <string>
#include <vector>

#include "app/redistribute_cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return quilane::RunRedistributeCli(args, stdout, stderr);
}
