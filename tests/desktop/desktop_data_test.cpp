// The files that put the program on the desktop: the design file's MIME type
// as a desktop's file manager sees it (through Qt's reader of the same
// shared-mime-info database), and the names the desktop entry, the AppStream
// metainfo and the MIME type use for one another.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstdlib>
#include <string>

#include "runtime/version.h"

namespace {

constexpr const char* kDataDir = DIASPRING_DATA_DIR;
constexpr const char* kDesignType = "application/x-diaspring-design";
constexpr const char* kAppId = "org.diaspring.Diaspring";

QByteArray readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// The MIME database of this machine, with the program's type added as an
// installation adds it: a package file in <data dir>/mime/packages.
class DesignFileType : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dataHome_ = new QTemporaryDir;
    ASSERT_TRUE(dataHome_->isValid());
    ASSERT_TRUE(QDir(dataHome_->path()).mkpath("mime/packages"));
    ASSERT_TRUE(QFile::copy(QString(kDataDir) + "/diaspring-mime.xml", dataHome_->path() + "/mime/packages/diaspring.xml"));
    // Read before the first QMimeDatabase, which caches its sources.
    setenv("XDG_DATA_HOME", dataHome_->path().toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share", 1);
  }
  static void TearDownTestSuite() {
    delete dataHome_;
    dataHome_ = nullptr;
  }

  // The type of a file named `name` holding `content`, by name and content.
  static std::string typeOf(const QString& name, const QByteArray& content) {
    const QString path = dataHome_->path() + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) return "?";
    file.close();
    return QMimeDatabase().mimeTypeForFile(path).name().toStdString();
  }

  static inline QTemporaryDir* dataHome_ = nullptr;
};

TEST_F(DesignFileType, KnownByItsExtensionOrByTheFormatNameNearTheStart) {
  const QByteArray design = R"({"format": "diaspring-design", "version": 1, "inputs": {}})";
  struct Case {
    const char* name;
    QByteArray content;
    bool design;
  };
  const Case cases[] = {
      {"a.diaspring", design, true},
      {"empty.diaspring", "", true},
      {"no-extension", design, true},
      {"compact", R"({"format":"diaspring-design","version":1})", true},
      // The name wholly within the first 256 bytes: it may start at byte 238.
      {"late-start", QByteArray(238, ' ') + "\"diaspring-design\"", true},
      {"too-late", QByteArray(239, ' ') + "\"diaspring-design\"", false},
      {"other-format", R"({"format": "diaspring-study", "rows": []})", false},
      {"unquoted", "diaspring-design is the format of the design files\n", false},
  };
  for (const Case& c : cases) {
    const std::string type = typeOf(c.name, c.content);
    if (c.design) EXPECT_EQ(type, kDesignType) << c.name;
    else EXPECT_NE(type, kDesignType) << c.name;
  }
  // Programs that open JSON open a design file too.
  EXPECT_TRUE(QMimeDatabase().mimeTypeForName(kDesignType).inherits("application/json"));
}

// The value of `key` in the desktop entry's main group, or "".
std::string desktopValue(const QByteArray& entry, const std::string& key) {
  for (const QByteArray& line : entry.split('\n')) {
    if (line.startsWith(QByteArray::fromStdString(key + "="))) return line.mid(key.size() + 1).toStdString();
  }
  return {};
}

TEST(DesktopFiles, NameOneAnotherAndTheProgramAlike) {
  const QByteArray entry = readAll(QString(kDataDir) + "/" + kAppId + ".desktop");
  ASSERT_FALSE(entry.isEmpty());
  EXPECT_EQ(desktopValue(entry, "Icon"), kAppId);
  EXPECT_EQ(desktopValue(entry, "Exec"), "diaspring %f");
  EXPECT_EQ(desktopValue(entry, "MimeType"), std::string(kDesignType) + ";");

  // The metainfo launches the entry, provides the type, and its newest
  // release is the program's version.
  const QByteArray metainfo = readAll(QString(kDataDir) + "/" + kAppId + ".metainfo.xml.in");
  QXmlStreamReader xml(metainfo);
  std::string id, launchable, mediatype, newestRelease;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QStringView name = xml.name();
    if (name == u"id") id = xml.readElementText().toStdString();
    else if (name == u"launchable") launchable = xml.readElementText().toStdString();
    else if (name == u"mediatype") mediatype = xml.readElementText().toStdString();
    else if (name == u"release" && newestRelease.empty())
      newestRelease = xml.attributes().value("version").toString().toStdString();
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(id, kAppId);
  EXPECT_EQ(launchable, std::string(kAppId) + ".desktop");
  EXPECT_EQ(mediatype, kDesignType);
  EXPECT_EQ(newestRelease, diaspring::kVersion);
}

}  // namespace
