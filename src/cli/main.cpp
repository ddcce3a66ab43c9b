#include <cstdio>
int main() { std::puts("varnel-cli"); }
