#include "platform/FileError.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

namespace sulvan {
namespace {

TEST(FileError, EveryCauseHasASentenceOfItsOwn) {
    std::set<std::string> descriptions;
    for (EFileCause cause : kAllFileCauses) {
        const std::string strText = DescribeFileCause(cause);
        EXPECT_GT(strText.size(), 10u) << static_cast<int>(cause);
        EXPECT_EQ(strText.back(), '.') << strText;
        descriptions.insert(strText);
        const FileError error(cause, "/data/run1.trs");
        EXPECT_EQ(error.Cause(), cause);
        EXPECT_EQ(error.Description(), strText);
        EXPECT_EQ(std::string(error.what()), "/data/run1.trs: " + strText);
    }
    EXPECT_EQ(descriptions.size(), std::size(kAllFileCauses));
}

TEST(FileError, MessagesNameTheFileAndTheFailingOneWhenItIsAnother) {
    const FileError error = FileError::FromErrno(ENOSPC, "/out/run1.adv");
    EXPECT_EQ(error.MessageFor("/out/run1.adv"), "/out/run1.adv\rNo space left on device");
    const FileError readError = FileError::FromErrno(EIO, "/in/run1.trs");
    EXPECT_EQ(readError.MessageFor("/out/run1.adv"),
              "/out/run1.adv\r/in/run1.trs: Input/output error");
}

struct SErrnoCase {
    int nErrno;
    EFileCause cause;
};

class FileErrorFromErrno : public ::testing::TestWithParam<SErrnoCase> {};

TEST_P(FileErrorFromErrno, TakesCauseAndDescriptionFromTheOs) {
    const FileError error = FileError::FromErrno(GetParam().nErrno, "out.adv");
    EXPECT_EQ(error.Cause(), GetParam().cause);
    EXPECT_EQ(error.OsError(), GetParam().nErrno);
    EXPECT_EQ(error.Description(), std::strerror(GetParam().nErrno));
    EXPECT_EQ(error.Path(), "out.adv");
}

INSTANTIATE_TEST_SUITE_P(Table, FileErrorFromErrno,
                         ::testing::Values(SErrnoCase{ENOENT, EFileCause::NotFound},
                                           SErrnoCase{ENOTDIR, EFileCause::BadPath},
                                           SErrnoCase{ENAMETOOLONG, EFileCause::BadPath},
                                           SErrnoCase{EMFILE, EFileCause::TooManyOpenFiles},
                                           SErrnoCase{EACCES, EFileCause::AccessDenied},
                                           SErrnoCase{EROFS, EFileCause::AccessDenied},
                                           SErrnoCase{EISDIR, EFileCause::AccessDenied},
                                           SErrnoCase{ESPIPE, EFileCause::BadSeek},
                                           SErrnoCase{EIO, EFileCause::HardIo},
                                           SErrnoCase{ENOSPC, EFileCause::DiskFull},
                                           SErrnoCase{EDQUOT, EFileCause::DiskFull},
                                           SErrnoCase{EBUSY, EFileCause::Generic}));

}  // namespace
}  // namespace sulvan
