#pragma once

#include <QString>

#include <string>
#include <unordered_map>

#include <tinyxml.h>

class QFileInfo;

// Cursor-style XML file: the caller enters named sections and writes or reads named values in the
// current one. A new archive is ready to save; a successful LoadFile switches it to loading.
// Misuse is traced on the debug output and never fatal.
class QXmlArchive
{
public:
    QXmlArchive();
    virtual ~QXmlArchive();
    QXmlArchive(const QXmlArchive&) = delete;
    QXmlArchive& operator=(const QXmlArchive&) = delete;

    void NewDocument();
    bool LoadFile(const QString& fileName);
    // For a caller that has looked at the file already: its cached status is not read again.
    bool LoadFile(const QFileInfo& file);
    // On failure, *error (when given) says why the file could not be written.
    bool SaveFile(const QString& fileName, QString* error = nullptr) const;

    bool AddSection(const std::string& name);
    bool GetSection(const std::string& name);
    void LeaveSection();

    void SetValue(const std::string& name, const std::string& value);
    void SetValue(const std::string& name, const char* value) { SetValue(name, std::string(value)); }
    void SetValue(const std::string& name, const QString& value);
    void SetValue(const std::string& name, unsigned int value);
    void SetValue(const std::string& name, unsigned short value);
    void SetValue(const std::string& name, double value);

    // A missing value (or one that cannot be decoded) leaves `out` untouched and returns false.
    bool GetValue(const std::string& name, std::string& out);
    bool GetValue(const std::string& name, QString& out);
    bool GetValue(const std::string& name, unsigned int& out) const;
    bool GetValue(const std::string& name, unsigned short& out) const;
    bool GetValue(const std::string& name, double& out) const;

private:
    enum : int
    {
        Load = 0,
        Save = 1
    };

    void AddComment(const std::string& text);
    void AppendValueElement(const std::string& name, const std::string& text);
    TiXmlElement* AppendElement(TiXmlElement* element);
    TiXmlElement* FindChild(const std::string& name) const;
    void CheckSetting(const std::string& name) const;
    void CheckGetting(const std::string& name) const;
    void CheckClash(const std::string& name) const;
    void FailLoad(const QString& fileName, const char* description);

    TiXmlDocument document;
    TiXmlElement* currentSection = nullptr;
    int direction = Save;
    // First child element of each name, per section searched so far: looking children up one by
    // one from the first made reading n sections by name take n * n steps.
    using ChildrenByName = std::unordered_map<std::string, TiXmlElement*>;
    mutable std::unordered_map<const TiXmlElement*, ChildrenByName> childIndex;
};
