#include "automation/Registry.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include "automation/Collection.h"
#include "automation/Conversions.h"
#include "automation/PropertyBag.h"
#include "automation/Error.h"

namespace {

using testsupport::errorOf;

using namespace automation;

constexpr const char* kLibId = "{5B1D8C7E-2A41-4E0B-9F6C-3D2E1A0B9C88}";

ClassRegistration collectionClass(std::string progId, std::string clsid) {
  ClassRegistration c;
  c.progId = std::move(progId);
  c.clsid = std::move(clsid);
  c.className = "Bag";
  c.filePath = R"(C:\Program Files\Kro\Bag.dll)";
  c.version.fileVersion = "2.1.0.7";
  c.version.strings = {{"CompanyName", "Kro"}, {"Comments", "Build date: 12/4/2026"}};
  c.typeLib = kLibId;
  c.factory = [] { return std::make_shared<Collection>(); };
  return c;
}

// What a library's registration entry point adds, and its unregistration removes.
void registerLibrary(Registry& r) {
  r.registerTypeLib({kLibId, "BagLib", "1.0", R"(C:\Program Files\Kro\Bag.dll)"});
  r.registerInterface({"{0A1B2C3D-0000-4000-8000-000000000001}", "_Bag", kLibId});
  r.registerClass(collectionClass("BagLib.Bag", "{0A1B2C3D-0000-4000-8000-000000000002}"));
  r.registerEnum({"SavedDataCvalues", kLibId, {{"NoneSaved", 0}, {"ExcelSaved", 1}, {"WordSaved", 2}}});
}

void unregisterLibrary(Registry& r) {
  r.unregisterEnum("SavedDataCvalues");
  r.unregisterClass("{0A1B2C3D-0000-4000-8000-000000000002}");
  r.unregisterInterface("{0A1B2C3D-0000-4000-8000-000000000001}");
  r.unregisterTypeLib(kLibId);
}

TEST(Registry, CreatesRegisteredClassesByProgIdOrClassId) {
  Registry r;
  registerLibrary(r);
  EXPECT_EQ(r.createObject("baglib.bag")->typeName(), "Collection");
  EXPECT_NE(r.createObject("{0a1b2c3d-0000-4000-8000-000000000002}"), nullptr);
  // Each call makes a new object.
  EXPECT_NE(r.createObject("BagLib.Bag"), r.createObject("BagLib.Bag"));

  const ClassRegistration* c = r.findClass("BagLib.Bag");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->version.stringValue("comments"), "Build date: 12/4/2026");
  EXPECT_EQ(c->version.stringValue("BuildDate"), "");
  EXPECT_EQ(r.findEnum("saveddatacvalues")->values[2], (std::pair<std::string, int32_t>{"WordSaved", 2}));
  EXPECT_EQ(r.findInterface("{0A1B2C3D-0000-4000-8000-000000000001}")->name, "_Bag");
}

TEST(Registry, UnregisteredOrUncreatableClassesRaise429) {
  Registry r;
  registerLibrary(r);
  EXPECT_EQ(errorOf([&] { r.createObject("KroZEL.ZELEZ"); }), vbErrCantCreateObject);
  EXPECT_EQ(errorOf([&] { r.createObject("{0A1B2C3D-0000-4000-8000-00000000FFFF}"); }), vbErrCantCreateObject);
  EXPECT_EQ(Error::vb(429).description(), "ActiveX component can't create object");

  ClassRegistration hidden = collectionClass("BagLib.Utilities", "{0A1B2C3D-0000-4000-8000-000000000003}");
  hidden.creatable = false;
  r.registerClass(hidden);
  EXPECT_EQ(errorOf([&] { r.createObject("BagLib.Utilities"); }), vbErrCantCreateObject);

  ClassRegistration broken = collectionClass("BagLib.Broken", "{0A1B2C3D-0000-4000-8000-000000000004}");
  broken.factory = [] { return ObjectPtr(); };
  r.registerClass(broken);
  EXPECT_EQ(errorOf([&] { r.createObject("BagLib.Broken"); }), vbErrCantCreateObject);

  EXPECT_TRUE(r.unregisterClass("baglib.bag"));
  EXPECT_FALSE(r.unregisterClass("baglib.bag"));
  EXPECT_EQ(errorOf([&] { r.createObject("BagLib.Bag"); }), vbErrCantCreateObject);
}

TEST(Registry, UnregisteringRestoresTheEntriesExactly) {
  Registry r;
  r.registerClass(collectionClass("Other.Thing", "{0A1B2C3D-0000-4000-8000-0000000000AA}"));
  const std::vector<std::string> before = r.snapshot();
  registerLibrary(r);
  EXPECT_EQ(r.snapshot().size(), before.size() + 4);
  registerLibrary(r);  // registering twice replaces, it does not duplicate
  EXPECT_EQ(r.snapshot().size(), before.size() + 4);
  unregisterLibrary(r);
  EXPECT_EQ(r.snapshot(), before);

  // The snapshot sees a change in any registered detail.
  ClassRegistration changed = collectionClass("Other.Thing", "{0A1B2C3D-0000-4000-8000-0000000000AA}");
  changed.version.fileVersion = "2.1.0.8";
  r.registerClass(changed);
  EXPECT_NE(r.snapshot(), before);
}

TEST(Registry, TheProcessRegistryCanBeReplacedForAScope) {
  Registry mine;
  mine.registerClass(collectionClass("Scoped.Bag", "{0A1B2C3D-0000-4000-8000-0000000000BB}"));
  {
    ScopedRegistry scope(mine);
    EXPECT_NE(CreateObject("Scoped.Bag"), nullptr);
  }
  EXPECT_EQ(errorOf([] { CreateObject("Scoped.Bag"); }), vbErrCantCreateObject);
}

// One of the system's interfaces, and a view of another component's object through it.
class Counted : public Object {
 public:
  virtual int32_t Count() = 0;
};

class CountedView final : public Counted {
 public:
  explicit CountedView(ObjectPtr target) : target_(std::move(target)) {}
  int32_t Count() override { return CLng(getProperty(target_, "Count")); }
  const TypeInfo& typeInfo() const override { return target_->typeInfo(); }

 private:
  ObjectPtr target_;
};

TEST(Registry, AnObjectIsSeenThroughAnInterfaceByTheRegisteredView) {
  auto bag = std::make_shared<Collection>();
  bag->Add(Variant(1));
  bag->Add(Variant(2));
  Registry mine;
  ScopedRegistry scope(mine);
  EXPECT_EQ(errorOf([&] { Variant(bag).objectAs<Counted>(); }), vbErrTypeMismatch);

  mine.registerView(typeid(Counted), [](const ObjectPtr& o) -> ObjectPtr {
    return o->typeName() == "Collection" ? std::make_shared<CountedView>(o) : nullptr;
  });
  EXPECT_EQ(Variant(bag).objectAs<Counted>()->Count(), 2);
  // A view that cannot stand for the object leaves it a type mismatch.
  EXPECT_EQ(errorOf([&] { Variant(std::make_shared<PropertyBag>()).objectAs<Counted>(); }), vbErrTypeMismatch);
}

}  // namespace
