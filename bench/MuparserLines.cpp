// sumtra-muparser: the peer "muparser" of compare.py. muparser is a library, not
// a calculator, so this is the smallest calculator on it: each line of the file
// is one expression, parsed and evaluated in double precision and printed with
// six significant digits, the way a program built on the library would use it.
//   sumtra-muparser FILE
#include <muParser.h>

#include <cstdio>
#include <fstream>
#include <string>

int main(int Argc, char** Argv) {
    if (Argc != 2) {
        std::fputs("usage: sumtra-muparser FILE\n", stderr);
        return 2;
    }
    std::ifstream In(Argv[1]);
    if (!In) {
        std::fprintf(stderr, "sumtra-muparser: cannot read %s\n", Argv[1]);
        return 2;
    }
    mu::Parser Parser;
    std::string Line;
    int Status = 0;
    while (std::getline(In, Line)) {
        if (Line.empty()) continue;
        try {
            Parser.SetExpr(Line);
            std::printf("%.6g\n", Parser.Eval());
        } catch (const mu::Parser::exception_type& E) {
            std::fprintf(stderr, "sumtra-muparser: %s\n", E.GetMsg().c_str());
            Status = 1;
        }
    }
    return Status;
}
