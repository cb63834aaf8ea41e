#include "tests/support/debug_capture.h"
#include "tests/support/qt_application.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/control_factory.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/ui_parse.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

namespace {

using namespace ui;

class CMarkerUI : public CButtonUI {
public:
    std::string GetClass() const override { return "Marker"; }
};

// Answers "Marker" in any letter case and "Fragment" with a sub-tree from a file, as the main
// window's table does.
class CCallback : public IDialogBuilderCallback {
public:
    explicit CCallback(CPaintManagerUI* manager) : manager_(manager) {}
    CControlUI* CreateControl(const std::string& name) override {
        asked.push_back(name);
        if (EqualsNoCase(name, "Marker")) {
            return new CMarkerUI();
        }
        if (EqualsNoCase(name, "Fragment")) {
            CDialogBuilder builder;
            return builder.Create("XML\\fragment.xml", this, manager_);
        }
        return nullptr;
    }
    std::vector<std::string> asked;

private:
    CPaintManagerUI* manager_;
};

class BuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(skin_.isValid());
        CPaintManagerUI::SetResourcePath(skin_.path().toStdString());
        QDir(skin_.path()).mkpath("XML");
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(skin_.path().toStdString() + "/" + name) << text;
    }

    QTemporaryDir skin_;
};

TEST_F(BuilderTest, ElementNamesIgnoreCaseAndUnknownOnesGoToTheCallback) {
    CPaintManagerUI manager;
    CCallback callback(&manager);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        "<Window size=\"320,200\" caption=\"0,0,0,30\"><verticallayout name=\"root\" inset=\"4,4,4,4\">"
        "<BUTTON name=\"b\" width=\"40\"/><markER name=\"m\"/><mArKeR name=\"m2\"/><NoSuchThing name=\"x\"/>"
        "</verticallayout></Window>",
        &callback, &manager);
    ASSERT_NE(root, nullptr);
    manager.AttachDialog(root);
    EXPECT_EQ(root->GetClass(), "VerticalLayout");
    EXPECT_EQ(manager.FindControl("b")->GetClass(), "Button");
    EXPECT_EQ(manager.FindControl("m")->GetClass(), "Marker");
    EXPECT_EQ(manager.FindControl("m2")->GetClass(), "Marker");
    EXPECT_EQ(callback.asked, (std::vector<std::string>{"markER", "mArKeR", "NoSuchThing"}));
    EXPECT_EQ(manager.GetInitSize(), QSize(320, 200));
    EXPECT_EQ(manager.FindControl("b")->GetFixedWidth(), 40);
}

TEST_F(BuilderTest, SubTreesComeFromFilesAndTheirCustomElementsResolveThroughTheSameCallback) {
    Write("XML/fragment.xml",
          "<?xml version=\"1.0\" encoding=\"utf-8\"?><HorizontalLayout name=\"frag\"><Marker name=\"inner\"/>"
          "<Label name=\"lab\" text=\"中文\"/></HorizontalLayout>");
    CPaintManagerUI manager;
    CCallback callback(&manager);
    CDialogBuilder builder;
    CControlUI* root =
        builder.Create("<VerticalLayout><Fragment/><Include source=\"XML/fragment.xml\"/></VerticalLayout>",
                       &callback, &manager);
    ASSERT_NE(root, nullptr);
    manager.AttachDialog(root);
    auto* layout = static_cast<CContainerUI*>(root->GetInterface("Container"));
    ASSERT_EQ(layout->GetCount(), 2);
    EXPECT_EQ(layout->GetItemAt(0)->GetName(), "frag");
    CControlUI* inner = manager.FindSubControlByName(layout->GetItemAt(0), "inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetClass(), "Marker");
    EXPECT_EQ(inner->GetManager(), &manager);
    EXPECT_EQ(manager.FindSubControlByName(layout->GetItemAt(1), "lab")->GetText(), "中文");
}

TEST_F(BuilderTest, RegisteredClassesAreFoundByClassNameAndElementName) {
    CControlFactory::GetInstance().RegistControl("CMarkerUI", [] { return new CMarkerUI(); });
    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root =
        builder.Create("<HorizontalLayout><marker name=\"m\"/></HorizontalLayout>", nullptr, &manager);
    manager.AttachDialog(root);
    EXPECT_EQ(manager.FindControl("m")->GetClass(), "Marker");
}

TEST_F(BuilderTest, BadSourcesGiveNothingAndSayWhy) {
    CDebugCapture capture;
    CDialogBuilder builder;
    EXPECT_EQ(builder.Create("XML/missing.xml"), nullptr);
    EXPECT_EQ(builder.Create("<VerticalLayout><Button></VerticalLayout>"), nullptr);
    Write("XML/self.xml", "<VerticalLayout><Include source=\"XML/self.xml\"/></VerticalLayout>");
    CControlUI* self = builder.Create("XML/self.xml");
    EXPECT_NE(self, nullptr);
    delete self;
    EXPECT_NE(capture.Text().find("missing.xml"), std::string::npos);
    EXPECT_NE(capture.Text().find("malformed"), std::string::npos);
    EXPECT_NE(capture.Text().find("nests too deep"), std::string::npos);
}

TEST_F(BuilderTest, MissingNamesWriteADebugLine) {
    CPaintManagerUI manager;
    manager.Init(nullptr, "TestWnd");
    CDialogBuilder builder;
    manager.AttachDialog(builder.Create("<VerticalLayout name=\"root\"/>", nullptr, &manager));
    CDebugCapture capture;
    EXPECT_EQ(manager.FindControl("nope"), nullptr);
    EXPECT_EQ(manager.FindSubControlByName(manager.GetRoot(), "nope2"), nullptr);
    EXPECT_NE(capture.Text().find("'TestWnd' has no control named 'nope'"), std::string::npos);
    EXPECT_NE(capture.Text().find("nope2"), std::string::npos);
}

TEST_F(BuilderTest, LanguageKeysShowTheirTranslationAndFollowReloads) {
    Write("lan_a.xml", "<Language><Text id=\"hello\" value=\"你好\"/></Language>");
    Write("lan_b.xml", "<Language><Text id=\"hello\" value=\"Hello\"/></Language>");
    CResourceManager& resources = CResourceManager::GetInstance();
    ASSERT_TRUE(resources.LoadLanguage("lan_a.xml"));
    CLabelUI label;
    label.SetText("hello");
    EXPECT_EQ(label.GetText(), "你好");
    ASSERT_TRUE(resources.LoadLanguage("lan_b.xml"));
    resources.ReloadText();
    EXPECT_EQ(label.GetText(), "Hello");
    EXPECT_TRUE(resources.SetLanguage("lan_a.xml"));
    EXPECT_EQ(label.GetText(), "你好");
    EXPECT_FALSE(resources.SetLanguage("lan_never.xml"));
    EXPECT_FALSE(resources.LoadLanguage("lan_missing.xml"));
    EXPECT_EQ(resources.GetLanguage(), "lan_a.xml");
    label.SetText("not a key");
    EXPECT_EQ(label.GetText(), "not a key");
    resources.Release();
}

TEST_F(BuilderTest, ResIdsNameLayoutFiles) {
    Write("res.xml", "<Res><Xml id=\"XML_TEST\" path=\"XML/test.xml\"/></Res>");
    Write("XML/test.xml", "<Window><Label name=\"only\"/></Window>");
    ASSERT_TRUE(CResourceManager::GetInstance().LoadResource("res.xml"));
    CDialogBuilder builder;
    CControlUI* root = builder.Create("XML_TEST");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "only");
    delete root;
    CResourceManager::GetInstance().Release();
}

}  // namespace
