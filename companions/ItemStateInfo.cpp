#include "companions/ItemStateInfo.h"

#include <fmt/format.h>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/ErrorCodes.h"

namespace kro {

using automation::Variant;

namespace {

std::shared_ptr<automation::PropertyBag> bagArgument(automation::DispatchArgs& args) {
  if (args.size() != 1) throw automation::Error::vb(450);
  return automation::PropertyBag::argument(args[0]);
}

std::string numbered(const char* key, int32_t i) { return key + std::to_string(i); }

[[noreturn]] void damaged(const std::string& what) {
  throw companionError(ErrorCode::DamagedStates, "The captured states in this document are damaged: " + what,
                       kSetupsSource);
}

}  // namespace

// The interface's members by dispatch id, for this class and for the views of another module's
// object alike.
const automation::TypeInfo& IItemStateInfo::typeInfo() const {
  using Self = IItemStateInfo;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<Self>(ItemStateInfo::kClassName)
          .interface(kIid, "_ItemStateInfo")
          .get("SetupInterface", 1, &Self::SetupInterface)
          .putRef("SetupInterface", 1, &Self::setSetupInterface)
          .get("Count", 2, &Self::Count)
          .get("Item", 0, &Self::Item)
          .method("Capture", 3, &Self::Capture)
          .method("Restore", 4, &Self::Restore)
          .method("Remove", 5, &Self::Remove)
          .method("Import", 6, &Self::Import)
          .method("WriteProperties", 7, [](Self& self, automation::DispatchArgs& args) {
            self.WriteProperties(*bagArgument(args));
          })
          .method("ReadProperties", 8, [](Self& self, automation::DispatchArgs& args) {
            self.ReadProperties(*bagArgument(args));
          })
          .build();
  return info;
}

const automation::ObjectPtr& ItemStateInfo::setupInterface() const {
  if (!setupInterface_) throw automation::Error::vb(automation::vbErrObjectNotSet, kSetupsSource);
  return setupInterface_;
}

std::shared_ptr<ItemState> ItemStateInfo::state(int32_t index) const {
  if (index < 1 || index > Count()) throw automation::Error::vb(automation::vbErrSubscriptOutOfRange, kSetupsSource);
  return states_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<ItemState> ItemStateInfo::find(const std::string& name) const {
  for (const auto& state : states_)
    if (automation::equalsNoCase(state->name(), name)) return state;
  return nullptr;
}

void ItemStateInfo::keep(std::shared_ptr<ItemState> state) {
  for (auto& existing : states_) {
    if (automation::equalsNoCase(existing->name(), state->name())) {
      existing = std::move(state);
      return;
    }
  }
  states_.push_back(std::move(state));
}

void ItemStateInfo::Capture(const std::string& name) {
  const automation::ObjectPtr& analyzer = setupInterface();
  auto state = std::make_shared<ItemState>();
  state->setName(name);
  state->setModel(automation::CStr(automation::getProperty(analyzer, "Model")));
  state->setVersion(automation::CStr(automation::getProperty(analyzer, "Version")));
  state->setData(automation::getProperty(analyzer, "SetupValue"));
  keep(std::move(state));
}

void ItemStateInfo::Restore(const std::string& name) {
  const auto state = find(name);
  if (!state) throw companionError(ErrorCode::UnknownState, fmt::format("No state is named \"{}\"", name), kSetupsSource);
  automation::setProperty(setupInterface(), "SetupValue", state->data());
}

void ItemStateInfo::Remove(const std::string& name) {
  const auto before = states_.size();
  std::erase_if(states_, [&](const auto& state) { return automation::equalsNoCase(state->name(), name); });
  if (states_.size() == before)
    throw companionError(ErrorCode::UnknownState, fmt::format("No state is named \"{}\"", name), kSetupsSource);
}

void ItemStateInfo::Import(const std::string& fileName, const std::string& name) {
  const Variant read = automation::callMethod(setupInterface(), "GetLegacyNordalFileInfo",
                                              {Variant(fileName), Variant(ItemState::kProgId)});
  auto state = read.isObject() ? read.objectAs<ItemState>() : nullptr;
  if (!state)
    throw companionError(ErrorCode::NotASetupFile,
                         fmt::format("{} is not a settings file of the older analyzers", fileName), kSetupsSource);
  state->setName(name);
  keep(std::move(state));
}

void ItemStateInfo::WriteProperties(automation::PropertyBag& bag) {
  bag.WriteProperty(kKeyCount, Variant(Count()));
  for (int32_t i = 1; i <= Count(); ++i) {
    const ItemState& state = *states_[static_cast<size_t>(i - 1)];
    bag.WriteProperty(numbered(kKeyName, i), Variant(state.name()));
    bag.WriteProperty(numbered(kKeyModel, i), Variant(state.model()));
    bag.WriteProperty(numbered(kKeyVersion, i), Variant(state.version()));
    bag.WriteProperty(numbered(kKeyData, i), state.data());
  }
}

void ItemStateInfo::ReadProperties(automation::PropertyBag& bag) {
  const Variant count = bag.ReadProperty(kKeyCount, Variant(int32_t{0}));
  if (count.varType() != automation::vbLong || count.asLong() < 0) damaged("the count of states is no count");
  // Each state is read whole before the next; a count beyond the entries fails at the first
  // missing one, so a hostile count costs nothing.
  std::vector<std::shared_ptr<ItemState>> states;
  for (int32_t i = 1; i <= count.asLong(); ++i) {
    const auto text = [&](const char* key) {
      const Variant v = bag.ReadProperty(numbered(key, i));
      if (v.varType() != automation::vbString) damaged(fmt::format("{} is missing or not a text", numbered(key, i)));
      return v.asString();
    };
    auto state = std::make_shared<ItemState>();
    state->setName(text(kKeyName));
    for (const auto& earlier : states)
      if (automation::equalsNoCase(earlier->name(), state->name()))
        damaged(fmt::format("two states are named \"{}\"", state->name()));
    state->setModel(text(kKeyModel));
    state->setVersion(text(kKeyVersion));
    try {
      state->setData(bag.ReadProperty(numbered(kKeyData, i)));
    } catch (const automation::Error&) {
      damaged(fmt::format("{} is missing or not a settings image", numbered(kKeyData, i)));
    }
    states.push_back(std::move(state));
  }
  states_ = std::move(states);
}

}  // namespace kro
