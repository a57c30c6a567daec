#include "about/FrmVersionInfo.h"

#include <algorithm>

#include "automation/Error.h"
#include "automation/Registry.h"
#include "automation/Strings.h"
#include "automation/Variant.h"
#include "forms/Clipboard.h"
#include "win32/Win32.h"

namespace zel {

namespace {

// VB's Dir(path, vbHidden Or vbSystem Or vbDirectory): the name, as the file system keeps it,
// of the entry `path` denotes, hidden, system and folder entries included; "" when none.
std::string entryName(const std::string& path) {
  win32::WIN32_FIND_DATAA found;
  const win32::HANDLE search = win32::FindFirstFileA(path.c_str(), &found);
  if (search == win32::INVALID_HANDLE_VALUE) return {};
  win32::FindClose(search);
  return found.cFileName;
}

// The part of a path after its last backslash; the whole path when it has none.
std::string fileNameOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::unique_ptr<FrmVersionInfo>& instance() {
  static std::unique_ptr<FrmVersionInfo> form;
  return form;
}

}  // namespace

FrmVersionInfo::FrmVersionInfo() : Form("FrmVersionInfo", "Component Version Information", 7365, 4020) {
  auto design = designTime();

  lblCompVersionTitle.setCaption("Component Version Information");
  lblCompVersionTitle.setFont({.Name = "MS Sans Serif", .Size = 12});
  lblCompVersionTitle.Move(1680, 300, 3972, 492);
  lblCompVersionTitle.setTabIndex(2);

  lstViewInfo.setView(forms::lvwReport);
  lstViewInfo.Move(36, 960, 7272, 2472);
  lstViewInfo.setTabIndex(1);
  lstViewInfo.ColumnHeaders().Add(0, {}, "File", 1800);
  lstViewInfo.ColumnHeaders().Add(0, {}, "Version", 1000);
  lstViewInfo.ColumnHeaders().Add(0, {}, "Build Date", 1100);
  lstViewInfo.ColumnHeaders().Add(0, {}, "Full Path", 3300);
  lstViewInfo.onKeyPress = [this](int& keyAscii) {
    if (keyAscii == forms::vbKeyCtrlC) copyToClipboard();
  };

  cmdCopyToClipboard.setCaption("Copy to Clipboard");
  cmdCopyToClipboard.Move(120, 3600, 1695, 375);
  cmdCopyToClipboard.setTabIndex(3);
  cmdCopyToClipboard.onClick = [this] { copyToClipboard(); };

  cmdOK.setCaption("OK");
  cmdOK.Move(6480, 3600, 732, 372);
  cmdOK.setTabIndex(0);
  cmdOK.onClick = [this] { Hide(); };

  onResize = [this] { Form_Resize(); };
}

void FrmVersionInfo::clearInfo() { lstViewInfo.ListItems().Clear(); }

void FrmVersionInfo::loadInfo(const std::string& progid) {
  try {
    if (!versionInfo_) {
      versionInfo_ = automation::Variant(automation::CreateObject(kro::ComponentVersionInfo::kProgId))
                         .objectAs<kro::IComponentVersionInfo>();
    }
    versionInfo_->Load(progid);
    forms::ListItem& row = lstViewInfo.ListItems().Add(1, {}, fileNameOf(versionInfo_->FilePath()));
    row.setSubItems(1, versionInfo_->VersionText());
    row.setSubItems(2, buildDate());
    row.setSubItems(3, GetLongFilename(versionInfo_->FilePath()));
  } catch (const automation::Error&) {
    // A row already begun stays as far as it got; the error row goes above it.
    forms::ListItem& row = lstViewInfo.ListItems().Add(1, {}, progid);
    row.setSubItems(3, kNotRegistered);
  }
}

std::string FrmVersionInfo::buildDate() const {
  std::string date = versionInfo_->StringValue("BuildDate");
  if (date.empty()) date = versionInfo_->StringValue("Build date");
  if (!date.empty()) return date;
  // Older components carry it in their comments as "Build date: 03/14/2025".
  const std::string comments = versionInfo_->StringValue("Comments");
  if (!comments.empty() && automation::InStr(comments, "Build date:") > 0)
    return comments.substr(std::min<size_t>(comments.size(), 12));
  return "??";
}

std::string FrmVersionInfo::GetLongFilename(const std::string& sShortName) {
  const std::string s = sShortName + "\\";
  std::string longName;
  // The search starts after a drive prefix such as "C:\".
  int p = automation::InStr(4, s, "\\");
  while (p > 0) {
    const std::string name = entryName(s.substr(0, static_cast<size_t>(p - 1)));
    if (name.empty()) return {};
    longName += "\\" + name;
    p = automation::InStr(p + 1, s, "\\");
  }
  return s.substr(0, 2) + longName;
}

std::string FrmVersionInfo::GetShortFilename(const std::string& sLongFileName) {
  std::string buffer(255, ' ');
  const win32::DWORD length =
      win32::GetShortPathNameA(sLongFileName.c_str(), buffer.data(), static_cast<win32::DWORD>(buffer.size()));
  return buffer.substr(0, length);
}

void FrmVersionInfo::copyToClipboard() {
  std::string text;
  forms::ListView::Items& rows = lstViewInfo.ListItems();
  for (int i = 1; i <= rows.Count(); ++i) {
    const forms::ListItem& row = rows.Item(i);
    if (i > 1) text += "\r\n";
    text += row.Text() + "\t" + row.SubItems(1) + "\t" + row.SubItems(2) + "\t" + row.SubItems(3);
  }
  forms::Clipboard::Clear();
  forms::Clipboard::SetText(text);
}

void FrmVersionInfo::Form_Resize() {
  const int w = ScaleWidth();
  const int h = ScaleHeight();
  lstViewInfo.setWidth(std::max(0, w - 200));
  lstViewInfo.setHeight(std::max(0, h - lblCompVersionTitle.Height() - cmdOK.Height() - 1000));
  // OK may leave the window on the left; everything else stops at the edge.
  cmdOK.setLeft(w - cmdOK.Width() - 200);
  const int buttonTop = std::max(0, h - cmdOK.Height() - 450);
  cmdCopyToClipboard.setTop(buttonTop);
  cmdOK.setTop(buttonTop);
  lblCompVersionTitle.setLeft(std::max(0, w / 2 - lblCompVersionTitle.Width() / 2));
}

FrmVersionInfo& frmVersionInfo() {
  if (!instance()) instance() = std::make_unique<FrmVersionInfo>();
  return *instance();
}

void releaseFrmVersionInfo() { instance().reset(); }

}  // namespace zel
