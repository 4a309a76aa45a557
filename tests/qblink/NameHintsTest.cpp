#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qblink/NameHints.h"

namespace vantrell::hints {
namespace {

using Strings = std::vector<std::string>;

struct FoldCase {
    const char* a;
    const char* b;
    bool close;
};

class CloseKey : public ::testing::TestWithParam<FoldCase> {};

TEST_P(CloseKey, FoldsWhatAClerkTypesDifferentlyAndNothingElse) {
    const FoldCase& c = GetParam();
    EXPECT_EQ(closeKey(c.a) == closeKey(c.b), c.close)
        << c.a << " -> [" << closeKey(c.a) << "], " << c.b << " -> [" << closeKey(c.b) << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Folding, CloseKey,
    ::testing::Values(
        // Letter case, ASCII and beyond.
        FoldCase{"Tomasz Kowalczyk", "TOMASZ KOWALCZYK", true},
        FoldCase{"Élodie Ørsted", "éLODIE øRSTED", true},
        FoldCase{"Павел Смирнов", "ПАВЕЛ смирнов", true},
        FoldCase{"ΟΔΟΣ ΣΟΦΙΑ", "οδος σοφια", true},
        // Spacing.
        FoldCase{"Tomasz Kowalczyk", "  Tomasz \t Kowalczyk ", true},
        FoldCase{"Tomasz Kowalczyk", "Tomasz\xC2\xA0Kowalczyk", true},  // no-break space
        FoldCase{"Tomasz Kowalczyk", "TomaszKowalczyk", false},
        // Word order, with or without a comma.
        FoldCase{"Tomasz Kowalczyk", "Kowalczyk, Tomasz", true},
        FoldCase{"Tomasz Kowalczyk", "Kowalczyk Tomasz", true},
        FoldCase{"Tomasz Kowalczyk", "Kowalczyk,Tomasz", true},
        // A middle initial, with or without its period.
        FoldCase{"Tomasz Kowalczyk", "Tomasz J. Kowalczyk", true},
        FoldCase{"Tomasz Kowalczyk", "Kowalczyk, Tomasz J", true},
        FoldCase{"Tomasz Kowalczyk", "Tomasz Ł. Kowalczyk", true},
        FoldCase{"J Smith", "Smith", false},      // an initial that is half the name stays
        FoldCase{"Ann & Bob", "Ann Bob", false},  // a sign is no initial
        FoldCase{"Shift 2 Crew", "Shift Crew", false},
        // Accents, written with the letter or after it.
        FoldCase{"Zoë Łukasz", "Zoe Lukasz", true},
        FoldCase{"Zoe\xCC\x88 Lukasz", "Zoë Łukasz", true}, FoldCase{"Strauß", "Strauss", true},
        FoldCase{"Şerban Ţurcanu", "Serban Turcanu", true},
        FoldCase{"Șerban Țurcanu Žak Caſtle", "Serban Turcanu Zak Castle", true},
        FoldCase{"Æsa Œuvre", "aesa oeuvre", true}, FoldCase{"José", "Jose", true},
        FoldCase{"José", "Josef", false},
        // Apostrophe forms.
        FoldCase{"Siobhan O'Neill", "Siobhan O\xE2\x80\x99Neill", true},  // ’
        FoldCase{"Siobhan O'Neill", "Siobhan O\xE2\x80\x98Neill", true},  // ‘
        FoldCase{"Siobhan O'Neill", "Siobhan O\xCA\xBCNeill", true},      // ʼ
        FoldCase{"Siobhan O'Neill", "Siobhan ONeill", false},
        // Nothing else: other letters, other words, other scripts.
        FoldCase{"Tomasz Kowalczyk", "Tomasz Kowalczyk Jr.", false},
        FoldCase{"Tomasz Kowalczyk", "Tomasz Kowalski", false},
        FoldCase{"山田 太郎", "太郎 山田", true}, FoldCase{"山田 太郎", "山田 次郎", false},
        // Bytes that are not UTF-8 stay themselves.
        FoldCase{"Bad \xFF Name", "bad \xFF name", true},
        FoldCase{"Bad \xFF Name", "Bad \xFE Name", false}));

TEST(CloseKeyOfNothing, IsEmpty) {
    EXPECT_EQ(closeKey(""), "");
    EXPECT_EQ(closeKey(" , \t,"), "");
}

TEST(CaseFolded, FoldsLetterCaseOnly) {
    EXPECT_EQ(caseFolded("Zoë ŁUKASZ Ÿ İ"), "zoë łukasz ÿ i");
    EXPECT_EQ(caseFolded("Ann & <Bob> \"Q\""), "ann & <bob> \"q\"");
    EXPECT_EQ(caseFolded("ПАВЕЛ Ёж"), "павел ёж");
    EXPECT_EQ(caseFolded("\xFF\xC3"), "\xFF\xC3");
}

std::vector<HeldName> held(const Strings& names, const Strings& inactive = {}) {
    std::vector<HeldName> list;
    for (const std::string& name : names) {
        list.push_back({name, true});
    }
    for (const std::string& name : inactive) {
        list.push_back({name, false});
    }
    return list;
}

TEST(NameIndex, ClosestFirstAtMostThreeNeverTheSameName) {
    const std::vector<HeldName> list =
        held({"Kowalczyk, Tomasz", "tomasz kowalczyk", "Tomasz J. Kowalczyk", "TOMASZ  KOWALCZYK",
              "Tomasz Kowalczyk", "Tomasz Kowalski"});
    const NameIndex index(list);
    Strings names;
    for (const HeldName* h : index.closeNames("Tomasz Kowalczyk")) {
        names.push_back(h->name);
    }
    // 2, 3 and 13 edits away; "TOMASZ  KOWALCZYK" is 14, the fourth.
    EXPECT_EQ(names, (Strings{"tomasz kowalczyk", "Tomasz J. Kowalczyk", "Kowalczyk, Tomasz"}));
    EXPECT_EQ(index.sameName("TOMASZ KOWALSKI"), &list[5]);
    EXPECT_EQ(index.sameName("Tomasz Kowalsk"), nullptr);
    EXPECT_TRUE(index.closeNames("").empty());
    EXPECT_TRUE(index.closeNames("Nobody Here").empty());
}

struct HintCase {
    const char* what;
    std::string missing;
    bool employee;
    std::optional<std::string> hint;
};

class Hints : public ::testing::TestWithParam<HintCase> {
  protected:
    HeldLists lists{held({"Grace Okafor", "Tomasz J. Kowalczyk", "Zoë Łukasz",
                          "Ann & <Bob> \"Q\" O'Neil", "Priya Raman"},
                         {"Marcus Delgado", "Kowalczyk, Tomasz", "Lee Chan"}),
                    held({"Hourly", "Night & Weekend Diff", "Overtime Hourly"},
                         {"Personal Time Off", "Sick Pay"}),
                    held({"Bonus", "401(k) Deduction"}, {"Old Bonus"})};
};

TEST_P(Hints, ExplainWhatTheListsExplain) {
    const HintCase& c = GetParam();
    const HintFinder finder(lists);
    EXPECT_EQ(c.employee ? finder.employeeHint(c.missing) : finder.payTypeHint(c.missing), c.hint)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Hints,
    ::testing::Values(
        HintCase{"inactive employee", "Marcus Delgado", true,
                 "QuickBooks has this employee, but inactive."},
        HintCase{"inactive employee in other letter case", "marcus DELGADO", true,
                 "QuickBooks has this employee, but inactive."},
        HintCase{"case and word order", "okafor, GRACE", true,
                 "QuickBooks has a close name: Grace Okafor"},
        HintCase{"two close names, the inactive one marked", "Tomasz Kowalczyk", true,
                 "QuickBooks has close names: Tomasz J. Kowalczyk, Kowalczyk, Tomasz (inactive)"},
        HintCase{"accents", "Zoe Lukasz", true, "QuickBooks has a close name: Zoë Łukasz"},
        HintCase{"hostile characters kept as they are", "o’neil, ann & <bob> \"q\"", true,
                 "QuickBooks has a close name: Ann & <Bob> \"Q\" O'Neil"},
        HintCase{"nothing close", "Priya Ramanathan", true, std::nullopt},
        HintCase{"nothing at all", "Nobody", true, std::nullopt},
        HintCase{"a close name of an inactive employee", "Chan, Lee", true,
                 "QuickBooks has a close name: Lee Chan (inactive)"},
        HintCase{"inactive wage item", "Personal Time Off", false,
                 "QuickBooks has this wage item, but inactive."},
        HintCase{"other payroll item", "Bonus", false,
                 "QuickBooks has a payroll item of this name that is not a wage item."},
        HintCase{"inactive other payroll item", "old bonus", false,
                 "QuickBooks has a payroll item of this name that is not a wage item."},
        HintCase{"close wage item", "hourly overtime", false,
                 "QuickBooks has a close name: Overtime Hourly"},
        HintCase{"ampersand wage item", "night  &  weekend diff", false,
                 "QuickBooks has a close name: Night & Weekend Diff"},
        HintCase{"an employee is no pay type", "Grace Okafor", false, std::nullopt},
        HintCase{"a pay type is no employee", "Bonus", true, std::nullopt},
        HintCase{"a long name close to none", std::string(200, 'x'), true, std::nullopt}));

TEST(HintsOfLongNames, SpacingFoldsAwayWhateverItsLength) {
    const HeldLists lists{held({"Grace Okafor"}), {}, {}};
    const HintFinder finder(lists);
    const std::string missing = "Grace" + std::string(190, ' ') + "Okafor";
    ASSERT_EQ(missing.size(), 201u);
    EXPECT_EQ(finder.employeeHint(missing), "QuickBooks has a close name: Grace Okafor");
}

TEST(HintsOfEmptyLists, AreNone) {
    const HeldLists lists;
    const HintFinder finder(lists);
    EXPECT_EQ(finder.employeeHint("Grace Okafor"), std::nullopt);
    EXPECT_EQ(finder.payTypeHint("Hourly"), std::nullopt);
    EXPECT_EQ(finder.employeeHint(""), std::nullopt);
}

}  // namespace
}  // namespace vantrell::hints
