// A QCoreApplication for the whole test program, made before the first test and
// destroyed after the last: the tests on pseudo-terminals need Qt's event loop.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <memory>

class TEnvironnementQt final : public testing::Environment {
public:
  void SetUp() override { application_ = std::make_unique<QCoreApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

private:
  int argc_ = 1;
  char nom_[5] = "test";
  char* argv_[2] = {nom_, nullptr};
  std::unique_ptr<QCoreApplication> application_;
};

inline testing::Environment* const EnvironnementQt = testing::AddGlobalTestEnvironment(new TEnvironnementQt);
