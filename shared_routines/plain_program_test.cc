// PlainProgramRunner on real and made-up first bytes: the ELF loader a program names, and the
// interpreter of a "#!" line as Linux reads it.
#include "shared_routines/plain_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tolvar {
namespace {

using Kind = ProgramRunner::Kind;
using Words = std::vector<std::string>;

TEST(PlainProgramTest, ScriptsAreRunByTheInterpreterTheirFirstLineNames) {
  const struct {
    const char* head;
    Words words;
  } cases[] = {
      {"#!/bin/sh\necho hi\n", {"/bin/sh"}},
      {"#! /bin/sh -e\n", {"/bin/sh", "-e"}},
      {"#!/usr/bin/env python3 -u \r\n", {"/usr/bin/env", "python3 -u"}},
      {"#!/bin/sh", {"/bin/sh"}},
      {"#!sh\n", {}},           // not absolute
      {"#!\n/bin/sh\n", {}},    // nothing on the line
      {"#!/bin/\x01sh\n", {}},  // no control characters
      {"echo hi\n", {}},        // a document, as far as anyone can tell
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(PlainProgramRunner(c.head).words, c.words) << c.head;
  EXPECT_EQ(PlainProgramRunner("#!" + std::string(300, 'x')).kind, Kind::kNone);
}

TEST(PlainProgramTest, AnElfProgramIsRunByTheLoaderItNames) {
  std::ifstream self("/proc/self/exe", std::ios::binary);
  if (!self) GTEST_SKIP() << "no /proc/self/exe here";
  std::string head(kProgramHeadBytes, '\0');
  self.read(&head[0], head.size());
  head.resize(self.gcount());
  const ProgramRunner runner = PlainProgramRunner(head);
  ASSERT_EQ(runner.kind, Kind::kElf);
  ASSERT_EQ(runner.words.size(), 1u);
  EXPECT_TRUE(std::ifstream(runner.words[0]).good()) << runner.words[0];

  // Cut short anywhere, it names no loader rather than one read from beyond its bytes.
  for (size_t size = 0; size < 1024; size += 7) {
    const ProgramRunner cut = PlainProgramRunner(head.substr(0, size));
    EXPECT_TRUE(cut.kind == Kind::kNone || cut.words == runner.words) << size;
  }
}

}  // namespace
}  // namespace tolvar
