#pragma once
// "ZELTest.Container": what Excel or Word does when a document holds the control, for a script,
// which is no OLE container itself. Place gives the control a client site in one of the
// in-memory workbooks or documents of this module (IOleObject::SetClientSite): the site's
// container is that document, its window the application's. Remove takes the control off
// its site again, as closing the document does.
#include "automation/Object.h"

struct IOleObject;

namespace zeltest {

class TestContainer final : public automation::Object {
 public:
  ~TestContainer() override;

  void Place(const automation::ObjectPtr& document, const automation::ObjectPtr& control);
  void Remove();

  const automation::TypeInfo& typeInfo() const override;

 private:
  IOleObject* placed_ = nullptr;
};

}  // namespace zeltest
