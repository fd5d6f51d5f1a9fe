// Stands in for the browser and the mail program in the end-to-end tests,
// which register it for the web and mailto: addresses: it appends the address
// it was asked to open to a file.
// link_recorder FILE ADDRESS
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::FILE* out = std::fopen(argv[1], "a");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\n", argv[2]);
  return std::fclose(out) == 0 ? 0 : 1;
}
