#include "tav/platform/MessageBox.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(MessageBoxTest, DefaultAnswersOkOrNo) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(TavMessageBox("plain", MB_OK | MB_ICONINFORMATION), IDOK);
  EXPECT_EQ(TavMessageBox("question", MB_YESNO | MB_ICONSTOP), IDNO);
  const std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_EQ(shown, "plain\nquestion\n");
}

TEST(MessageBoxTest, HandlerReceivesTextAndTypeAndCanBeRestored) {
  CString seenText;
  unsigned seenType = 0;
  MessageBoxHandler previous = SetMessageBoxHandler([&](const CString& text, unsigned type) {
    seenText = text;
    seenType = type;
    return IDYES;
  });
  EXPECT_EQ(TavMessageBox("모델 오류", MB_YESNO), IDYES);
  EXPECT_EQ(seenText, "모델 오류");
  EXPECT_EQ(seenType, MB_YESNO);

  MessageBoxHandler mine = SetMessageBoxHandler(previous);
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine("again", MB_OK), IDYES);

  // An empty handler restores the default.
  SetMessageBoxHandler(nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(TavMessageBox("back", MB_OK), IDOK);
  testing::internal::GetCapturedStderr();
}

TEST(MessageBoxTest, DefaultSaveDialogCancels) {
  CString path = "unchanged";
  EXPECT_FALSE(ShowSaveFileDialog("filter", path));
  EXPECT_EQ(path, "unchanged");

  SetSaveFileDialogHandler([](const CString&, CString& chosen) {
    chosen = "/tmp/x.TaV";
    return true;
  });
  EXPECT_TRUE(ShowSaveFileDialog("filter", path));
  EXPECT_EQ(path, "/tmp/x.TaV");
  SetSaveFileDialogHandler(nullptr);
}

}  // namespace
}  // namespace tav
