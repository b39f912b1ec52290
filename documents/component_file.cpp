#include "documents/component_file.h"

#include "core/text_archive.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <sstream>

FileResult ReadComponentFile(const QString& path, const std::function<void(CTextArchive&)>& read)
{
    QByteArray data;
    FileResult result = ReadWholeFile(path, data);
    if (result) {
        std::stringstream stream(
            std::string(data.constData(), static_cast<std::size_t>(data.size())));
        CTextArchive archive(stream);
        read(archive);
    }
    return result;
}

FileResult WriteComponentFile(const QString& path, const std::function<void(CTextArchive&)>& write)
{
    std::stringstream stream;
    CTextArchive archive(stream);
    write(archive);
    return WriteFileAtomically(path, stream.str());
}

std::string WithoutBlanks(const std::string& text)
{
    std::string word;
    std::copy_if(text.begin(), text.end(), std::back_inserter(word),
                 [](char ch) { return std::isspace(static_cast<unsigned char>(ch)) == 0; });
    return word;
}
