// Prints the bytes of every non-ASCII narrow string literal the fuzz build
// compiles (literals.inc, listed by scripts/cp932_sources.py), then of a few
// that are hard to convert. scripts/fuzz.sh builds it twice, with g++
// -fexec-charset=CP932 from the sources as written and with clang from the
// converted copies, and requires the same output.
#include <cstdio>

#define LITERAL(s) {s, sizeof(s) - 1}
const struct { const char* bytes; unsigned long size; } kLiterals[] = {
#include "literals.inc"
    LITERAL("表示1F"),  // hex digits right after the converted bytes
    LITERAL("\x41あ\102い\\う\"え\""),
    LITERAL("ｱﾌﾟﾘ\0全角"),  // a zero inside: the size counts it
    LITERAL(R"zz(区切り)" "あ)zz"),
};

int main() {
  for (const auto& l : kLiterals) {
    std::printf("%lu:", l.size);
    for (unsigned long i = 0; i < l.size; ++i) std::printf(" %02X", static_cast<unsigned char>(l.bytes[i]));
    std::printf("\n");
  }
  std::printf("%d\n", static_cast<int>('ｱ'));  // a half-width katakana is one byte
}
