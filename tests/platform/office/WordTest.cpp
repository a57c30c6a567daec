#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "OfficeTesting.h"
#include "office/word/AddIns.h"
#include "office/word/Documents.h"
#include "office/word/MemoryAddIns.h"
#include "office/word/MemoryApplication.h"
#include "office/word/MemoryDocument.h"
#include "office/word/Shapes.h"
#include "office/word/System.h"

namespace {

using namespace office::word;
using automation::Variant;
using office::testing::raised;

TEST(Word, ActiveDocumentWithNoDocumentOpenRaises4248) {
  auto app = createApplication();
  const automation::Error none = raised([&] { app->ActiveDocument(); });
  EXPECT_EQ(none.number(), 4248);
  EXPECT_EQ(none.description(), "This command is not available because no document is open.");
  auto d1 = app->Documents()->Add();
  auto d2 = app->Documents()->Add();
  EXPECT_EQ(d1->Name(), "Document1");
  EXPECT_EQ(app->ActiveDocument(), d2);
  d1->Activate();
  d1->Close();
  EXPECT_EQ(app->ActiveDocument(), d2);
  d2->Close();
  EXPECT_EQ(raised([&] { app->ActiveDocument(); }).number(), 4248);
  EXPECT_EQ(raised([&] { app->Documents()->Item(1); }).number(), 5941);
}

TEST(Word, AGlobalTemplateIsAnAddInAndATemplate) {
  auto app = createApplication();
  app->AddIns()->Add("C:\\Program Files\\ZEL\\ZEL.DOT");
  auto addIn = app->AddIns()->Item("zel.dot");
  EXPECT_EQ(addIn->Path(), "C:\\Program Files\\ZEL");
  EXPECT_TRUE(addIn->Installed());
  auto templates = app->Templates();
  ASSERT_EQ(templates->Count(), 2);
  EXPECT_EQ(templates->Item(1)->Name(), "Normal.dot");
  auto zel = templates->Item(2);
  EXPECT_EQ(zel->Name(), "ZEL.DOT");
  app->templates()->find("ZEL.DOT")->touch();
  EXPECT_FALSE(zel->Saved());
  zel->setSaved(true);
  EXPECT_TRUE(zel->Saved());
  addIn->setInstalled(false);
  EXPECT_EQ(templates->Count(), 1);
  EXPECT_EQ(raised([&] { templates->Item("ZEL.DOT"); }).number(), 5941);
}

TEST(Word, CursorStatusBarAndPictures) {
  auto app = createApplication();
  auto system = app->System();
  EXPECT_EQ(system->Cursor(), wdCursorNormal);
  system->setCursor(wdCursorWait);
  EXPECT_EQ(system->Cursor(), wdCursorWait);
  EXPECT_EQ(raised([&] { system->setCursor(4); }).number(), 4608);
  EXPECT_EQ(system->Cursor(), wdCursorWait);

  app->setStatusBar("Connected");
  EXPECT_EQ(app->shownStatusText(), "Connected");
  app->setDisplayStatusBar(false);
  EXPECT_EQ(app->shownStatusText(), std::nullopt);

  auto document = app->Documents()->Add();
  const std::string path = ::testing::TempDir() + "word_picture.wmf";
  { std::ofstream(path, std::ios::binary) << "IMAGE"; }
  auto shape = app->ActiveDocument()->Shapes()->AddPicture(path);
  std::remove(path.c_str());
  EXPECT_EQ(shape->Name(), "Picture 1");
  const auto& pictures = app->documents()[0]->shapes();
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_FALSE(pictures[0]->picture().linked);
  EXPECT_TRUE(pictures[0]->picture().savedWithDocument);
  EXPECT_EQ(raised([&] { document->Shapes()->AddPicture(path); }).number(), 5152);
}

}  // namespace
