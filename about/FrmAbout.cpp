#include "about/FrmAbout.h"

#include "about/FrmVersionInfo.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "forms/MsgBox.h"
#include "win32/Win32.h"

namespace zel {

namespace {

constexpr forms::OLE_COLOR kLinkColour = forms::RGB(0, 0, 255);
constexpr forms::OLE_COLOR kFollowedLinkColour = forms::RGB(255, 0, 0);

}  // namespace

FrmAbout::FrmAbout() : Form("FrmAbout", "About", 5520, 4170) {
  auto design = designTime();

  Picture1.setPicture("logo.bmp");
  Picture1.setBackColor(forms::vbButtonFace);
  Picture1.Move(1020, -60, 3495, 735);
  Picture1.setTabIndex(12);

  lblTitle.setCaption("call InitTitleText( )");
  lblTitle.setFont({.Bold = true});
  lblTitle.setAlignment(forms::vbCenter);
  lblTitle.Move(240, 780, 4995, 735);
  lblTitle.setTabIndex(6);

  lblSupportedModels.setCaption("Supported Models:");
  lblSupportedModels.Move(300, 1620, 1815, 255);
  lblSupportedModels.setTabIndex(7);

  supModelsCombo.Move(420, 1860, 1572, 1035);
  supModelsCombo.setTabIndex(8);

  linkLabel(lblLinkCorvane, "Corvane on the Web", 1620, 11, imgCorvane);
  linkLabel(lblLinkVeltrix, "Veltrix on the Web", 1980, 10, imgVeltrix);
  linkLabel(lblLinkProduct, "<Product> on the Web", 2340, 9, imgProduct);
  linkLabel(lblLinkProduct2, "<Product2> on the Web", 2700, 13, imgProduct2);
  imgCorvane.onClick = [this] { followLink(lblLinkCorvane); };
  imgVeltrix.onClick = [this] { followLink(lblLinkVeltrix); };
  imgProduct.onClick = [this] { followLink(lblLinkProduct); };
  // The second product's picture was never wired to its link.

  lblCopyright.setCaption("Call InitCopyrightText( )");
  lblCopyright.setAlignment(forms::vbCenter);
  lblCopyright.Move(180, 3240, 5055, 255);
  lblCopyright.setTabIndex(5);

  cmdVersionInfo.setCaption("Component Info");
  cmdVersionInfo.Move(60, 3660, 1692, 432);
  cmdVersionInfo.setTabIndex(1);
  cmdVersionInfo.onClick = [this] { frmVersionInfo().Show(forms::vbModal, this); };

  cmdOK.setCaption("OK");
  cmdOK.setDefault(true);
  cmdOK.Move(4440, 3660, 972, 432);
  cmdOK.setTabIndex(0);
  cmdOK.onClick = [this] { forms::Unload(*this); };

  int tabIndex = 2;
  for (forms::CommandButton* hidden : {&cmdCorvane, &cmdVeltrix, &cmdZEL}) {
    hidden->Move(5640, 3660, 972, 432);
    hidden->setTabIndex(tabIndex++);
  }
  cmdCorvane.onClick = [this] { openLink(hyperLinkCorvane); };
  cmdVeltrix.onClick = [this] { openLink(hyperLinkVeltrix); };
}

void FrmAbout::linkLabel(forms::Label& label, std::string caption, int top, int tabIndex, forms::Image& picture) {
  label.setCaption(std::move(caption));
  label.setForeColor(kLinkColour);
  label.setMousePointer(forms::vbCustom);
  label.setMouseIcon("hand.cur");
  label.Move(3060, top, 1935, 255);
  label.setTabIndex(tabIndex);
  label.onClick = [this, &label] { followLink(label); };
  picture.setPicture("link.bmp");
  picture.Move(2760, top, 240, 240);
}

void FrmAbout::InitModels(const automation::ObjectPtr& models) {
  supModelsCombo.Clear();
  for (const automation::Variant& model : automation::itemsOf(models)) supModelsCombo.AddItem(automation::CStr(model));
}

void FrmAbout::InitComponentInfo(const std::shared_ptr<automation::Collection>& components) {
  FrmVersionInfo& versionInfo = frmVersionInfo();
  versionInfo.clearInfo();
  for (const automation::Variant& progId : automation::itemsOf(components)) versionInfo.loadInfo(automation::CStr(progId));
}

void FrmAbout::InitLinks(std::string corvane, std::string veltrix, std::string product, std::string product2) {
  hyperLinkCorvane = std::move(corvane);
  hyperLinkVeltrix = std::move(veltrix);
  hyperLinkProduct = std::move(product);
  hyperLinkProduct2 = std::move(product2);
}

void FrmAbout::InitLinkText(const std::string& corvaneText, const std::string& veltrixText,
                            const std::string& productText, const std::string& product2Text) {
  lblLinkCorvane.setCaption(corvaneText);
  lblLinkVeltrix.setCaption(veltrixText);
  lblLinkProduct.setCaption(productText);
  lblLinkProduct2.setCaption(product2Text);
}

void FrmAbout::InitTitleText(const std::string& title) { lblTitle.setCaption(title); }

void FrmAbout::InitCopyrightText(const std::string& copyright) { lblCopyright.setCaption(copyright); }

std::string FrmAbout::linkOf(const forms::Label& label) const {
  if (&label == &lblLinkCorvane) return hyperLinkCorvane;
  if (&label == &lblLinkVeltrix) return hyperLinkVeltrix;
  if (&label == &lblLinkProduct) return hyperLinkProduct;
  if (&label == &lblLinkProduct2) return hyperLinkProduct2;
  return {};
}

void FrmAbout::followLink(forms::Label& label) {
  label.setForeColor(kFollowedLinkColour);
  label.Refresh();
  openLink(linkOf(label));
}

void FrmAbout::openLink(const std::string& url) {
  try {
    const win32::HINSTANCE result =
        win32::ShellExecuteA(0, "open", url.c_str(), (url + " TARGET=_blank").c_str(), "0", win32::SW_HIDE);
    if (result <= 32) forms::MsgBox(kBrowserFailed, forms::vbOKOnly);
  } catch (const automation::Error&) {
    forms::MsgBox(kBrowserFailed, forms::vbOKOnly);
  }
  // Gives the browser a moment to come up before the dialog takes the input back.
  win32::Sleep(100);
}

}  // namespace zel
