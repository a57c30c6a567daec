#include <gtest/gtest.h>

#include "automation/Collection.h"
#include "office/ControlSite.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/Workbooks.h"
#include "office/word/MemoryApplication.h"
#include "office/word/MemoryDocument.h"

namespace {

TEST(ControlSite, APlacedControlFindsItsWorkbookUntilTheWorkbookCloses) {
  auto excel = office::excel::createApplication();
  excel->Workbooks()->Add();
  auto book = excel->activeWorkbook();
  auto control = std::make_shared<automation::Collection>();  // any automation object will do
  auto site = book->placeControl(control);
  EXPECT_EQ(office::ControlSite::of(*control), site);
  EXPECT_EQ(site->container(), book);
  EXPECT_EQ(site->topLevelHwnd(), excel->Hwnd());
  EXPECT_NE(site->hDC(), 0);
  site->PropertyChanged("DataCWritten");
  site->PropertyChanged();
  EXPECT_EQ(site->propertyChangedCount(), 2);
  EXPECT_EQ(site->propertyChanges()[0], "DataCWritten");

  site.reset();
  book->Close();
  EXPECT_EQ(office::ControlSite::of(*control), nullptr);
}

TEST(ControlSite, AControlInADocumentKnowsWord) {
  auto word = office::word::createApplication();
  word->Documents()->Add();
  auto control = std::make_shared<automation::Collection>();
  auto site = word->activeDocument()->placeControl(control);
  EXPECT_EQ(office::ControlSite::of(*control)->container(), word->activeDocument());
  EXPECT_EQ(site->topLevelHwnd(), word->hwnd());
  site->propertyBag().WriteProperty("DataCWritten", true);
  EXPECT_TRUE(office::ControlSite::of(*control)->propertyBag().contains("DataCWritten"));
  EXPECT_EQ(office::ControlSite::of(automation::Collection()), nullptr);
}

}  // namespace
