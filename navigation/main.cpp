#include <cstdio>

int main() {
  std::puts(" LUNAR DISTANCE for Astro-Navigation. V13 ");
  return 0;
}
