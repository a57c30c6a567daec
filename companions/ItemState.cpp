#include "companions/ItemState.h"

#include "automation/Error.h"
#include "automation/SafeArray.h"
#include "automation/TypeInfoBuilder.h"

namespace kro {

const automation::TypeInfo& ItemState::typeInfo() const {
  static const automation::TypeInfo info = automation::TypeInfoBuilder<ItemState>(kClassName)
                                               .interface(kIid, "_ItemState")
                                               .get("name", 1, &ItemState::name)
                                               .put("name", 1, &ItemState::setName)
                                               .get("model", 2, &ItemState::model)
                                               .put("model", 2, &ItemState::setModel)
                                               .get("version", 3, &ItemState::version)
                                               .put("version", 3, &ItemState::setVersion)
                                               .get("data", 4, &ItemState::data)
                                               .put("data", 4, &ItemState::setData)
                                               .build();
  return info;
}

void ItemState::setData(const automation::Variant& data) {
  if (!data.isArray() || data.asArray().elementType() != automation::vbByte || data.asArray().dimensions() != 1)
    throw automation::Error::vb(automation::vbErrTypeMismatch);
  data_ = data;
}

}  // namespace kro
