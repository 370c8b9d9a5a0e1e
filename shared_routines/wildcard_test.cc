// MatchesWildcard where a folder of real files cannot show it: how '*' gives back what it took, and
// names no Windows folder can hold.
#include "shared_routines/wildcard.h"

#include <gtest/gtest.h>

namespace tolvar {
namespace {

TEST(WildcardTest, AStarGivesBackWhatTheNameNeedsLater) {
  EXPECT_TRUE(MatchesWildcard("*.txt", "a.txt.txt"));
  EXPECT_TRUE(MatchesWildcard("*a*b", "xaxab"));
  EXPECT_TRUE(MatchesWildcard("a*b*c", "abcbbc"));
  EXPECT_TRUE(MatchesWildcard("**", ""));
  EXPECT_TRUE(MatchesWildcard("*?", "\xC3\xBC"));  // a star that stops inside the letter
  EXPECT_FALSE(MatchesWildcard("*??", "\xC3\xBC"));
  EXPECT_FALSE(MatchesWildcard("*a*b", "xaxa"));
  EXPECT_FALSE(MatchesWildcard("a*", ""));
  EXPECT_FALSE(MatchesWildcard("", "a"));
}

TEST(WildcardTest, AStarInThePatternIsAWildcardEvenBesideOneInTheName) {
  EXPECT_TRUE(MatchesWildcard("a*", "a*b"));       // a Linux name may hold '*'
  EXPECT_TRUE(MatchesWildcard("a\\*", "A\\xyz"));  // a backslash escapes nothing
}

}  // namespace
}  // namespace tolvar
