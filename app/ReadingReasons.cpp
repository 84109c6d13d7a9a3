#include "app/ReadingReasons.h"

#include <regex>
#include <string_view>
#include <utility>

namespace app {

namespace {

// The XML parser's descriptions of what it could not read.
std::string FrenchXmlError(const std::string& description) {
    static const std::pair<std::string_view, std::string_view> kDescriptions[] = {
        {"Error reading from file/stream", "lecture impossible"},
        {"Could not allocate memory", "mémoire insuffisante"},
        {"Internal error occurred", "erreur interne de la lecture"},
        {"Could not determine tag type", "balise d'un type inconnu"},
        {"Error parsing document declaration/processing instruction",
         "déclaration ou instruction de traitement mal formée"},
        {"Error parsing comment", "commentaire mal formé"},
        {"Error parsing CDATA section", "section CDATA mal formée"},
        {"Error parsing document type declaration", "DOCTYPE mal formé"},
        {"Error parsing PCDATA section", "texte mal formé"},
        {"Error parsing start element tag", "balise ouvrante mal formée"},
        {"Error parsing element attribute", "attribut mal formé"},
        {"Error parsing end element tag", "balise fermante mal formée"},
        {"Start-end tags mismatch", "une balise fermante ne répond pas à la balise ouverte"},
        {"No document element found", "aucun élément"},
    };
    for (const auto& [english, french] : kDescriptions) {
        if (description == english) {
            return std::string(french);
        }
    }
    static const std::regex twice(R"re(the attribute "(.*)" is given twice)re");
    if (std::smatch m; std::regex_match(description, m, twice)) {
        return "l'attribut « " + m[1].str() + " » est donné deux fois";
    }
    return "";
}

// The reason in French, or nothing when it is none the reader gives.
std::string FrenchReason(const std::string& reason) {
    static const std::pair<std::regex, const char*> kReasons[] = {
        {std::regex(R"(\(neither XML text nor gzip-compressed SVG\))"),
         "ce n'est ni du texte XML ni un SVG compressé par gzip"},
        {std::regex(R"(\(gzip-compressed, but what it holds is not XML text\))"),
         "il est compressé par gzip, mais ce qu'il contient n'est pas du texte XML"},
        {std::regex(R"(zlib cannot start inflating)"), "sa décompression ne peut pas commencer"},
        {std::regex(R"(the gzip-compressed data inflates to more than (\d+) MiB)"),
         "décompressé, il dépasserait $1 Mo"},
        {std::regex(R"(the gzip-compressed data is cut short)"),
         "ses données compressées s'arrêtent avant la fin"},
        {std::regex(R"(the gzip-compressed data is damaged.*)"),
         "ses données compressées sont abîmées"},
        {std::regex(R"re(the entity "(.*)" refers to itself)re"),
         "l'entité « $1 » se désigne elle-même"},
        {std::regex(R"(its DOCTYPE's entities expand beyond (\d+) MiB.*)"),
         "les entités de son DOCTYPE, développées, dépasseraient $1 Mo (un développement sans "
         "fin, refusé)"},
        {std::regex(R"(its DOCTYPE's entities expand beyond (\d+) levels.*)"),
         "les entités de son DOCTYPE s'imbriquent sur plus de $1 niveaux (un développement sans "
         "fin, refusé)"},
        {std::regex(R"(the root element is <(.*)>, not <svg>)"),
         "l'élément racine est <$1>, pas <svg>"},
    };
    for (const auto& [pattern, french] : kReasons) {
        if (std::regex_match(reason, pattern)) {
            return std::regex_replace(reason, pattern, french);
        }
    }
    static const std::regex xml(R"(XML error at line (\d+), column (\d+): (.*))");
    if (std::smatch m; std::regex_match(reason, m, xml)) {
        const std::string what = FrenchXmlError(m[3].str());
        return "erreur XML ligne " + m[1].str() + ", colonne " + m[2].str() +
               (what.empty() ? "" : " : " + what);
    }
    return "";
}

}  // namespace

std::string FrenchReadingFailure(const std::string& reason) {
    constexpr std::string_view kPrefix = "not an SVG document";
    std::string rest = reason;
    if (rest.rfind(kPrefix, 0) == 0) {
        rest.erase(0, kPrefix.size());
        if (rest.rfind(": ", 0) == 0) {
            rest.erase(0, 2);
        } else if (rest.rfind(' ', 0) == 0) {
            rest.erase(0, 1);
        }
    }
    const std::string french = FrenchReason(rest);
    return "Ce fichier n'est pas un dessin SVG lisible" + (french.empty() ? "" : " : " + french) +
           ".";
}

}  // namespace app
