// Identifiers, the identifier list with its index, and the built-in table.
#include "Parse.Infix.h"
#include "TestSupport.h"

#include <cstring>
#include <random>

namespace {
void ResetGlobals() {
    GlobalIdents().Clear();
    RegisterBuiltins(GlobalIdents());
}
} // namespace

TEST(Builtins, RegisterTheTableInOrder) {
    ResetGlobals();
    TIdentList& G = GlobalIdents();
    ASSERT_EQ(G.Count(), 72);
    const std::pair<int, const char*> Names[] = {{0, "abs"},
                                                 {17, "deg"},
                                                 {37, "\xE2\x88\x9A"},
                                                 {46, "Im"},
                                                 {47, "%"},
                                                 {51, "deg"},
                                                 {62, "\xCE\xBC"
                                                      "b"},
                                                 {66, "\xCF\x80"},
                                                 {71, "sb"}};
    for (auto [Index, Name] : Names) {
        SCOPED_TRACE(Index);
        EXPECT_EQ(U8(G[Index].Name()), Name);
    }
    EXPECT_EQ(U8(G[24].ToStringC()), "log(scalar)->scalar"); // log has no description
    EXPECT_EQ(U8(G[2].ToStringC()), "ach(scalar)->scalar   //inverse hyperbolic cosinus");
    EXPECT_EQ(U8(G[9].ToString()), "atan2(scalar,scalar)->scalar");
    EXPECT_EQ(U8(G[17].ToString()), "deg(vector)->scalar");
    EXPECT_EQ(U8(G[45].ToString()), "Re(scalar)->real");
    EXPECT_EQ(U8(G[42].ToString()), "time()->scalar");
}

TEST(Builtins, ConstantsHaveTheirExactBitPatterns) {
    ResetGlobals();
    const std::pair<const char*, const char*> Patterns[] = {
        {"%", "3FF8:A3D70A3D70A3D70A"},   {"c", "401B:8EF3C25000000000"},
        {"deg", "3FF9:8EFA351294E9C8C0"}, {"e", "4000:ADF85458A2BB4AB0"},
        {"h", "3F90:DC305DACB52ACBD1"},   {"k", "3FB3:858735666E63EEC1"},
        {"q", "3FC0:BD26D0BFB58A86CE"},   {"Na", "404D:FF0C2FCB5498F3BD"},
        {"pi", "4000:C90FDAA22168C23C"},  {"\xCF\x80", "4000:C90FDAA22168C23C"},
        {"sb", "3FE6:F38A6914C6B9FCC6"},  {"Ry", "4016:A77223918BC59B80"},
    };
    for (auto [Name, Pattern] : Patterns) {
        SCOPED_TRACE(Name);
        auto* V = GlobalIdents().Find<TVariable>(U16(Name));
        ASSERT_NE(V, nullptr);
        EXPECT_EQ(Bits(V->Value().X), Pattern);
        EXPECT_EQ(V->Value().Y, 0);
    }
    EXPECT_EQ(Bits(Pi), "4000:C90FDAA22168C235");
}

TEST(IdentList, FindsByKindAndByName) {
    ResetGlobals();
    TIdentList& G = GlobalIdents();
    auto* Fn = G.Find<TFunction>(u"deg");
    auto* Var = G.Find<TVariable>(u"deg");
    ASSERT_NE(Fn, nullptr);
    ASSERT_NE(Var, nullptr);
    EXPECT_EQ(G.Find(u"deg"), Fn);
    EXPECT_EQ(G.IndexByName(u"deg"), 17);
    EXPECT_EQ(G.Find<TVariable>(u"Pi"), nullptr);
    EXPECT_EQ(G.IndexByName(u"nothing"), -1);
}

TEST(IdentList, SetIdentReplacesTheFirstOfTheNameInPlace) {
    ResetGlobals();
    TIdentList& G = GlobalIdents();
    int Before = G.IndexByName(u"sin");
    G.SetIdent(std::make_unique<TVariable>(u"sin", TComp(5), u""));
    EXPECT_EQ(G.IndexByName(u"sin"), Before);
    EXPECT_EQ(G.Count(), 72);
    EXPECT_EQ(G.Find<TFunction>(u"sin"), nullptr);
    G.SetIdent(std::make_unique<TVariable>(u"fresh", TComp(1), u""));
    EXPECT_EQ(G.IndexByName(u"fresh"), 72);
}

TEST(IdentList, SortOrdersNamesIgnoringAsciiCase) {
    ResetGlobals();
    TIdentList& G = GlobalIdents();
    G.Sort();
    for (int I = 1; I < G.Count(); ++I) {
        std::u16string A = G[I - 1].Name(), B = G[I].Name();
        for (auto* S : {&A, &B})
            for (auto& C : *S)
                if (C >= u'a' && C <= u'z') C -= 32;
        EXPECT_LE(A, B) << U8(G[I - 1].Name()) << " before " << U8(G[I].Name());
    }
    EXPECT_EQ(U8(G[0].Name()), "%");
    EXPECT_LT(G.IndexByName(u"abs"), G.IndexByName(u"ach"));
    // Lookups still find the right kind after the reorder.
    ASSERT_NE(G.Find<TFunction>(u"deg"), nullptr);
    EXPECT_EQ(U8(G.Find<TVariable>(u"deg")->Comment()), "value of a degree in radians");
}

TEST(Identifiers, FunctionKindsCheckTheirArgumentCount) {
    ResetGlobals();
    TIdentList& G = GlobalIdents();
    EXPECT_THROW_MSG(G.Find<TFunction>(u"time")->Eval({1}), ECountError,
                     "Function 'time' takes no arguments");
    EXPECT_THROW_MSG(G.Find<TFunction>(u"sin")->Eval({}), ECountError, "Function 'sin' takes 1 argument");
    EXPECT_THROW_MSG(G.Find<TFunction>(u"pow")->Eval({1}), ECountError, "Function 'pow' takes 2 arguments");
    EXPECT_THROW_MSG(G.Find<TFunction>(u"arg")->Eval({1, 2}), ECountError, "Function 'arg' takes 1 argument");
    EXPECT_EQ(G.Find<TFunction>(u"mean")->Eval({1, 2, 6}), TComp(3));
    EXPECT_EQ(G.Find<TFunction>(u"Im")->Eval({TComp(3, 4)}), TComp(4));
}

TEST(Identifiers, VariablesPrintWithEighteenDigits) {
    TVariable V(u"x", TComp(1, -2) / TComp(3), u"third");
    EXPECT_EQ(U8(V.ToString()), "x = 0.333333333333333333-0.666666666666666667i");
    EXPECT_EQ(U8(V.ToStringC()), "x = 0.333333333333333333-0.666666666666666667i   //third");
}

// The index must answer exactly what a first-match linear search over the list
// would, across long random sequences of every operation.
TEST(IdentList, IndexAgreesWithALinearSearchModel) {
    TIdentList L;
    std::vector<std::pair<std::u16string, bool>> Model; // name, is variable
    std::mt19937 Rng(12345);
    auto Name = [&] {
        return std::u16string(1, static_cast<char16_t>(u'a' + Rng() % 6)) + (Rng() % 2 ? u"" : u"B");
    };
    auto LinearFind = [&](const std::u16string& N, int Kind) {
        for (std::size_t I = 0; I < Model.size(); ++I)
            if (Model[I].first == N && (Kind < 0 || Model[I].second == (Kind == 1)))
                return static_cast<int>(I);
        return -1;
    };
    for (int Step = 0; Step < 5000; ++Step) {
        std::u16string N = Name();
        switch (Rng() % 6) {
        case 0:
            L.AddVar(N, 0, u"");
            Model.push_back({N, true});
            break;
        case 1:
            L.AddFun(N, FnSin, u"");
            Model.push_back({N, false});
            break;
        case 2: {
            bool IsVar = Rng() % 2;
            if (IsVar)
                L.SetIdent(std::make_unique<TVariable>(N, 0, u""));
            else
                L.SetIdent(std::make_unique<TScalarToScalarFunction>(N, FnSin, u""));
            int I = LinearFind(N, -1);
            if (I < 0)
                Model.push_back({N, IsVar});
            else
                Model[I].second = IsVar;
            break;
        }
        case 3: {
            L.DeleteByName(N);
            int I = LinearFind(N, -1);
            if (I >= 0) Model.erase(Model.begin() + I);
            break;
        }
        case 4:
            if (Step % 50 == 0) {
                L.Sort();
                Model.clear();
                for (const auto& Item : L)
                    Model.push_back({Item->Name(), dynamic_cast<TVariable*>(Item.get()) != nullptr});
            }
            break;
        default: break;
        }
        ASSERT_EQ(L.Count(), static_cast<int>(Model.size()));
        std::u16string Q = Name();
        ASSERT_EQ(L.IndexByName(Q), LinearFind(Q, -1)) << Step;
        int V = LinearFind(Q, 1), F = LinearFind(Q, 0);
        ASSERT_EQ(L.Find<TVariable>(Q), V < 0 ? nullptr : &L[V]) << Step;
        ASSERT_EQ(L.Find<TFunction>(Q), F < 0 ? nullptr : &L[F]) << Step;
    }
}
