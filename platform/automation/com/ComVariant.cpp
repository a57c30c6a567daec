#include <vector>

#include "automation/Object.h"
#include "automation/SafeArray.h"
#include "ComObjects.h"
#include "ComVariant.h"

namespace automation::com {
namespace {

constexpr int32_t vbErrUnsupportedAutomationType = 458;

VARTYPE elementVarType(VbVarType type) {
  switch (type) {
    case vbInteger: return VT_I2;
    case vbLong: return VT_I4;
    case vbSingle: return VT_R4;
    case vbDouble: return VT_R8;
    case vbCurrency: return VT_CY;
    case vbDate: return VT_DATE;
    case vbString: return VT_BSTR;
    case vbObject: return VT_DISPATCH;
    case vbError: return VT_ERROR;
    case vbBoolean: return VT_BOOL;
    case vbByte: return VT_UI1;
    default: return VT_VARIANT;
  }
}

VbVarType elementVbType(VARTYPE type) {
  switch (type) {
    case VT_I2: return vbInteger;
    case VT_I4: return vbLong;
    case VT_R8: return vbDouble;
    case VT_DATE: return vbDate;
    case VT_BSTR: return vbString;
    case VT_DISPATCH: return vbObject;
    case VT_BOOL: return vbBoolean;
    case VT_UI1: return vbByte;
    case VT_VARIANT: return vbVariant;
    default: throw Error::vb(vbErrUnsupportedAutomationType);
  }
}

// Every subscript of an array, the first dimension counting fastest as VB lays arrays out.
template <class Visit>
void forEachSubscript(const std::vector<ArrayBound>& bounds, Visit visit) {
  for (const ArrayBound& b : bounds)
    if (b.count == 0) return;
  std::vector<int32_t> at;
  for (const ArrayBound& b : bounds) at.push_back(b.lower);
  for (;;) {
    visit(std::span<const int32_t>(at));
    size_t d = 0;
    for (; d < bounds.size(); ++d) {
      if (++at[d] < bounds[d].lower + bounds[d].count) break;
      at[d] = bounds[d].lower;
    }
    if (d == bounds.size()) return;
  }
}

// The value of one element as the VARIANT that SafeArrayPutElement takes by address.
void putElement(SAFEARRAY* sa, VARTYPE vt, std::span<const int32_t> at, const Variant& value) {
  std::vector<LONG> indices(at.begin(), at.end());
  VARIANT v;
  VariantInit(&v);
  toVARIANT(value, v);
  HRESULT hr = S_OK;
  if (vt == VT_VARIANT) {
    hr = SafeArrayPutElement(sa, indices.data(), &v);
  } else {
    VARIANT typed;
    VariantInit(&typed);
    hr = VariantChangeType(&typed, &v, 0, vt);
    if (SUCCEEDED(hr)) {
      // Pointers are put as the pointer itself; scalars by their address.
      void* data = vt == VT_BSTR       ? static_cast<void*>(typed.bstrVal)
                   : vt == VT_DISPATCH ? static_cast<void*>(typed.pdispVal)
                                       : static_cast<void*>(&typed.bVal);
      hr = SafeArrayPutElement(sa, indices.data(), data);
    }
    VariantClear(&typed);
  }
  VariantClear(&v);
  if (FAILED(hr)) throw errorOf(hr);
}

SAFEARRAY* toSAFEARRAY(const SafeArray& array) {
  const VARTYPE vt = elementVarType(array.elementType());
  std::vector<SAFEARRAYBOUND> bounds;
  for (const ArrayBound& b : array.bounds()) bounds.push_back({static_cast<ULONG>(b.count), b.lower});
  SAFEARRAY* sa = SafeArrayCreate(vt, static_cast<UINT>(bounds.size()), bounds.data());
  if (!sa) throw Error::vb(7);  // Out of memory
  try {
    forEachSubscript(array.bounds(), [&](std::span<const int32_t> at) { putElement(sa, vt, at, array.at(at)); });
  } catch (...) {
    SafeArrayDestroy(sa);
    throw;
  }
  return sa;
}

Variant fromSAFEARRAY(SAFEARRAY* sa, VARTYPE vt) {
  if (!sa) return Variant();
  std::vector<ArrayBound> bounds;
  for (UINT d = 1; d <= SafeArrayGetDim(sa); ++d) {
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(sa, d, &lower);
    SafeArrayGetUBound(sa, d, &upper);
    bounds.push_back({lower, upper - lower + 1});
  }
  SafeArray array(elementVbType(vt), bounds);
  forEachSubscript(bounds, [&](std::span<const int32_t> at) {
    std::vector<LONG> indices(at.begin(), at.end());
    VARIANT element;
    VariantInit(&element);
    HRESULT hr;
    if (vt == VT_VARIANT) {
      hr = SafeArrayGetElement(sa, indices.data(), &element);
    } else {
      // GetElement copies (AddRef, SysAllocString) into the VARIANT's value field.
      element.vt = vt;
      hr = SafeArrayGetElement(sa, indices.data(), &element.bVal);
    }
    if (FAILED(hr)) throw errorOf(hr);
    Variant value = fromVARIANT(element);
    VariantClear(&element);
    array.set(at, value);
  });
  return Variant(std::move(array));
}

}  // namespace

std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string narrow(const wchar_t* text, size_t length) {
  if (!text || length == 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::string narrow(BSTR text) { return narrow(text, text ? SysStringLen(text) : 0); }

BSTR allocString(std::string_view utf8) {
  const std::wstring wide = widen(utf8);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void toVARIANT(const Variant& value, VARIANT& out) {
  VariantInit(&out);
  if (value.isArray()) {
    const SafeArray& array = value.asArray();
    out.parray = toSAFEARRAY(array);
    out.vt = VT_ARRAY | elementVarType(array.elementType());
    return;
  }
  switch (value.varType()) {
    case vbEmpty: break;
    case vbNull: out.vt = VT_NULL; break;
    case vbInteger: out.vt = VT_I2; out.iVal = value.asInteger(); break;
    case vbLong: out.vt = VT_I4; out.lVal = value.asLong(); break;
    case vbByte: out.vt = VT_UI1; out.bVal = value.asByte(); break;
    case vbDouble: out.vt = VT_R8; out.dblVal = value.asDouble(); break;
    case vbBoolean: out.vt = VT_BOOL; out.boolVal = value.asBoolean() ? VARIANT_TRUE : VARIANT_FALSE; break;
    case vbDate: out.vt = VT_DATE; out.date = value.asDate().serial(); break;
    case vbString: out.vt = VT_BSTR; out.bstrVal = allocString(value.asString()); break;
    case vbObject: out.vt = VT_DISPATCH; out.pdispVal = dispatchOf(value.asObject()); break;
    default: throw Error::vb(vbErrUnsupportedAutomationType);
  }
}

Variant fromVARIANT(const VARIANT& in) {
  const VARTYPE vt = in.vt;
  if (vt == (VT_BYREF | VT_VARIANT)) return in.pvarVal ? fromVARIANT(*in.pvarVal) : Variant();
  if (vt & VT_ARRAY) return fromSAFEARRAY((vt & VT_BYREF) ? *in.pparray : in.parray, vt & VT_TYPEMASK);
  if (vt & VT_BYREF) {
    // A typed by-reference argument: read through it as a by-value VARIANT of the same type.
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = VariantCopyInd(&value, const_cast<VARIANT*>(&in));
    if (FAILED(hr)) throw errorOf(hr);
    Variant result = fromVARIANT(value);
    VariantClear(&value);
    return result;
  }
  switch (vt) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant::null();
    case VT_I2: return Variant(static_cast<int16_t>(in.iVal));
    case VT_I4: return Variant(static_cast<int32_t>(in.lVal));
    case VT_INT: return Variant(static_cast<int32_t>(in.intVal));
    case VT_UI1: return Variant(static_cast<uint8_t>(in.bVal));
    case VT_I1: return Variant(static_cast<int16_t>(in.cVal));
    case VT_UI2: return Variant(static_cast<int32_t>(in.uiVal));
    case VT_R4: return Variant(static_cast<double>(in.fltVal));
    case VT_R8: return Variant(in.dblVal);
    case VT_BOOL: return Variant(in.boolVal != VARIANT_FALSE);
    case VT_DATE: return Variant(Date(in.date));
    case VT_BSTR: return Variant(narrow(in.bstrVal));
    case VT_DISPATCH: return Variant(objectOf(in.pdispVal));
    case VT_UNKNOWN: {
      if (!in.punkVal) return Variant::nothing();
      IDispatch* dispatch = nullptr;
      if (FAILED(in.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        throw Error::vb(vbErrTypeMismatch);
      Variant result(objectOf(dispatch));
      dispatch->Release();
      return result;
    }
    case VT_ERROR:
      if (in.scode == DISP_E_PARAMNOTFOUND) return Variant();
      break;
    default: {
      // Other numbers (Currency, Decimal, 64-bit and unsigned integers) arrive as the Double
      // oleaut32 makes of them, the widest number the system keeps.
      VARIANT number;
      VariantInit(&number);
      if (SUCCEEDED(VariantChangeType(&number, const_cast<VARIANT*>(&in), 0, VT_R8))) return Variant(number.dblVal);
      break;
    }
  }
  throw Error::vb(vbErrUnsupportedAutomationType);
}

void writeBack(const Variant& value, VARIANT& byRef) {
  if (!(byRef.vt & VT_BYREF)) return;
  if (byRef.vt == (VT_BYREF | VT_VARIANT)) {
    VARIANT fresh;
    toVARIANT(value, fresh);
    VariantClear(byRef.pvarVal);
    *byRef.pvarVal = fresh;
    return;
  }
  // A typed variable of the caller (Dim b As Boolean in VB): the value in the caller's type.
  VARIANT fresh, typed;
  toVARIANT(value, fresh);
  VariantInit(&typed);
  HRESULT hr = VariantChangeType(&typed, &fresh, 0, byRef.vt & ~VT_BYREF);
  VariantClear(&fresh);
  if (FAILED(hr)) throw errorOf(hr);
  switch (byRef.vt & ~VT_BYREF) {
    case VT_I2: *byRef.piVal = typed.iVal; break;
    case VT_I4: *byRef.plVal = typed.lVal; break;
    case VT_UI1: *byRef.pbVal = typed.bVal; break;
    case VT_R4: *byRef.pfltVal = typed.fltVal; break;
    case VT_R8: *byRef.pdblVal = typed.dblVal; break;
    case VT_BOOL: *byRef.pboolVal = typed.boolVal; break;
    case VT_DATE: *byRef.pdate = typed.date; break;
    case VT_BSTR: SysFreeString(*byRef.pbstrVal); *byRef.pbstrVal = typed.bstrVal; return;
    case VT_DISPATCH:
      if (*byRef.ppdispVal) (*byRef.ppdispVal)->Release();
      *byRef.ppdispVal = typed.pdispVal;
      return;
    default: VariantClear(&typed); throw Error::vb(vbErrUnsupportedAutomationType);
  }
  VariantClear(&typed);
}

HRESULT hresultOf(int32_t number) {
  if (number > 0 && number <= 0xFFFF) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
  return static_cast<HRESULT>(number);
}

int32_t numberOf(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
  // The few HRESULTs that VB reports under its own numbers.
  switch (hr) {
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND: return vbErrNotSupported;
    case DISP_E_TYPEMISMATCH: return vbErrTypeMismatch;
    case DISP_E_OVERFLOW: return vbErrOverflow;
    case DISP_E_BADPARAMCOUNT: return 450;
    case REGDB_E_CLASSNOTREG:
    case CLASS_E_CLASSNOTAVAILABLE:
    case CO_E_CLASSSTRING: return vbErrCantCreateObject;
    default: return hr;
  }
}

void fillExcepInfo(const Error& error, EXCEPINFO& info) {
  info = EXCEPINFO{};
  info.bstrSource = allocString(error.source());
  info.bstrDescription = allocString(error.description());
  info.scode = hresultOf(error.number());
}

Error errorOf(HRESULT hr, const EXCEPINFO* info) {
  if (info && (info->bstrDescription || info->scode)) {
    const HRESULT code = info->scode ? info->scode : hr;
    return Error(numberOf(code), narrow(info->bstrDescription), narrow(info->bstrSource));
  }
  const int32_t number = numberOf(hr);
  if (number > 0 && number <= 0xFFFF) return Error::vb(number);
  return Error(number, vbErrorDescription(number));
}

}  // namespace automation::com
