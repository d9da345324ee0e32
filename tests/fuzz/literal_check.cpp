// Prints the bytes of every non-ASCII narrow string literal the fuzz build
// compiles (literals.inc, listed by scripts/cp932_sources.py), then of a few
// that are hard to convert. scripts/fuzz.sh builds it twice, with g++
// -fexec-charset=CP932 from the sources as written and with clang from the
// converted copies, and requires the same output.
#include <cstddef>
#include <cstdio>

namespace {

struct Literal {
  const char* bytes;
  std::size_t size;
};

#define LITERAL(s) {s, sizeof(s) - 1}

const Literal kLiterals[] = {
#include "literals.inc"
    LITERAL("表示1F"),              // hex digits right after the converted bytes
    LITERAL("あA" "い0x"),
    LITERAL("\x41あ\102い\\う\"え\""),
    LITERAL("ｱﾌﾟﾘ\0全角"),          // a zero inside: the size counts it
    LITERAL("～－￢∥①"),
    LITERAL(R"(生の"文字列"\n)"),
    LITERAL(R"zz(区切り)" あ)zz"),
    LITERAL(u8"あ" "" ),            // UTF-8 in both builds
};

}  // namespace

int main() {
  for (const Literal& l : kLiterals) {
    std::printf("%zu:", l.size);
    for (std::size_t i = 0; i < l.size; ++i) std::printf(" %02X", static_cast<unsigned char>(l.bytes[i]));
    std::printf("\n");
  }
  // Character literals: a half-width katakana is one byte.
  std::printf("%d\n", static_cast<int>('ｱ'));
  return 0;
}
