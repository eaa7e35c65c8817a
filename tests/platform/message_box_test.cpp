#include "tav/platform/MessageBox.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(MessageBoxTest, TheDefaultPrintsAndAnswersOkOrNoUntilAHandlerTakesOver) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(TavMessageBox("plain", MB_OK | MB_ICONINFORMATION), IDOK);
  EXPECT_EQ(TavMessageBox("question", MB_YESNO | MB_ICONSTOP), IDNO);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "plain\nquestion\n");

  std::pair<CString, unsigned> seen;
  MessageBoxHandler previous = SetMessageBoxHandler([&](const CString& text, unsigned type) {
    seen = {text, type};
    return IDYES;
  });
  EXPECT_EQ(TavMessageBox("모델 오류", MB_YESNO), IDYES);
  EXPECT_EQ(seen, std::make_pair(CString("모델 오류"), MB_YESNO));
  MessageBoxHandler mine = SetMessageBoxHandler(previous);
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine("again", MB_OK), IDYES);

  SetMessageBoxHandler(nullptr);  // an empty handler restores the default
  testing::internal::CaptureStderr();
  EXPECT_EQ(TavMessageBox("back", MB_OK), IDOK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "back\n");
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
