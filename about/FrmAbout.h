#pragma once
// The modal About dialog of the toolbar. It is passive: the About command fills every variable
// text through the Init operations (supported models, component list, web links and their
// captions, title, copyright line), sets the caption, shows it and unloads it when it closes.
// From it the user opens the maker's web pages in the default browser and the Component Version
// Information dialog.
#include <memory>
#include <string>

#include "automation/Collection.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/ListBox.h"

namespace zel {

class FrmAbout : public forms::Form {
 public:
  // Shown when the shell cannot open a link.
  static constexpr const char* kBrowserFailed =
      "The browser failed to start\r\nPlease try installing the latest version and retry this link";

  FrmAbout();

  // Every item of `models` (a collection, wherever it lives), in collection order, as the lines
  // of the models list.
  void InitModels(const automation::ObjectPtr& models);
  // Fills the shared Component Version Information dialog with these ProgIDs, in order.
  void InitComponentInfo(const std::shared_ptr<automation::Collection>& components);
  void InitLinks(std::string hyperLinkCorvane, std::string hyperLinkVeltrix, std::string hyperLinkProduct,
                 std::string hyperLinkProduct2);
  void InitLinkText(const std::string& hyperLinkCorvaneText, const std::string& hyperLinkVeltrixText,
                    const std::string& hyperLinkProductText, const std::string& hyperLinkProduct2Text);
  void InitTitleText(const std::string& title);
  void InitCopyrightText(const std::string& copyright);

  // The address a link label opens ("" for any other control).
  std::string linkOf(const forms::Label& label) const;

  forms::PictureBox& Picture1 = add<forms::PictureBox>("Picture1");
  forms::Label& lblTitle = add<forms::Label>("lblTitle");
  forms::Label& lblSupportedModels = add<forms::Label>("lblSupportedModels");
  forms::ListBox& supModelsCombo = add<forms::ListBox>("supModelsCombo");
  forms::Label& lblLinkCorvane = add<forms::Label>("lblLinkCorvane");
  forms::Label& lblLinkVeltrix = add<forms::Label>("lblLinkVeltrix");
  forms::Label& lblLinkProduct = add<forms::Label>("lblLinkProduct");
  forms::Label& lblLinkProduct2 = add<forms::Label>("lblLinkProduct2");
  forms::Image& imgCorvane = add<forms::Image>("imgCorvane");
  forms::Image& imgVeltrix = add<forms::Image>("imgVeltrix");
  forms::Image& imgProduct = add<forms::Image>("imgProduct");
  forms::Image& imgProduct2 = add<forms::Image>("imgProduct2");
  forms::Label& lblCopyright = add<forms::Label>("lblCopyright");
  forms::CommandButton& cmdVersionInfo = add<forms::CommandButton>("cmdVersionInfo");
  forms::CommandButton& cmdOK = add<forms::CommandButton>("cmdOK");
  // Keyboard-only ways to the links: they sit right of the client area, out of sight.
  forms::CommandButton& cmdCorvane = add<forms::CommandButton>("cmdCorvane");
  forms::CommandButton& cmdVeltrix = add<forms::CommandButton>("cmdVeltrix");
  forms::CommandButton& cmdZEL = add<forms::CommandButton>("cmdZEL");

 private:
  void linkLabel(forms::Label& label, std::string caption, int top, int tabIndex, forms::Image& picture);
  // A click on a link label, or on the picture beside it: the label turns red and stays so.
  void followLink(forms::Label& label);
  static void openLink(const std::string& url);

  std::string hyperLinkCorvane, hyperLinkVeltrix, hyperLinkProduct, hyperLinkProduct2;
};

}  // namespace zel
