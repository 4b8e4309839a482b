#include "cli/ShellCompletion.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Each name of an option as typed: -o, --output.
QStringList typedNames(const CompletedOption &option)
{
    QStringList names;
    for (const QString &name : option.names)
        names << (name.size() == 1 ? u"-"_s : u"--"_s) + name;
    return names;
}

} // namespace

QString bashCompletion(const QList<CompletedOption> &options, const QStringList &skinSuffixes)
{
    QString cases;
    QStringList all;
    for (const CompletedOption &option : options) {
        all += typedNames(option);
        if (option.valueName.isEmpty())
            continue;
        const QStringList &words = option.words, &suffixes = option.suffixes;
        cases += u"    %1) "_s.arg(typedNames(option).join(u'|'));
        cases += !words.isEmpty()
                     ? u"COMPREPLY=($(compgen -W '%1' -- \"$cur\"))"_s.arg(words.join(u' '))
                 : suffixes.isEmpty() ? u"COMPREPLY=($(compgen -f -- \"$cur\"))"_s
                                      : u"_vellox_files "_s + suffixes.join(u' ');
        cases += u"; return ;;\n"_s;
    }
    return uR"(# bash completion of vellox: its options, their values and the files they take.
# Made by vellox --completion bash.
_vellox_files() {
    local IFS=$'\n' suffix
    COMPREPLY=($(compgen -d -- "$cur"))
    for suffix in "$@"; do COMPREPLY+=($(compgen -f -X "!*.$suffix" -- "$cur")); done
}
_vellox() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
%1    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '%2' -- "$cur"))
    else
        _vellox_files %3
    fi
}
complete -o filenames -F _vellox vellox
)"_s.arg(cases, all.join(u' '), skinSuffixes.join(u' '));
}

QString zshCompletion(const QList<CompletedOption> &options, const QStringList &skinSuffixes)
{
    const auto files = [](const QStringList &suffixes) {
        return u"_files -g \"*.(%1)\""_s.arg(suffixes.join(u'|'));
    };
    QString specs;
    for (const CompletedOption &option : options) {
        QString description = option.description;
        description.replace(u'\'', u"'\\''"_s).replace(u'[', u"\\["_s).replace(u']', u"\\]"_s);
        for (const QString &name : typedNames(option)) {
            specs += u"    '%1[%2]"_s.arg(name, description);
            if (!option.valueName.isEmpty()) {
                specs += u':' + option.valueName + u':' +
                         (!option.words.isEmpty()     ? u'(' + option.words.join(u' ') + u')'
                          : option.suffixes.isEmpty() ? u"_files"_s
                                                      : files(option.suffixes));
            }
            specs += u"' \\\n"_s;
        }
    }
    return uR"(#compdef vellox
# zsh completion of vellox: its options, their values and the files they take.
# Made by vellox --completion zsh.
_arguments -s \
%1    '*:SKIN:%2'
)"_s.arg(specs, files(skinSuffixes));
}
