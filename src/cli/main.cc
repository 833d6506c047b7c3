#include <cstdio>

int main(int argc, char** argv) {
  std::puts("tunewright-cli");
  return 0;
}
