#pragma once

#include "Token.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

// The parse tree: what the parser recognised, before names and types are checked. Each node keeps
// the position of its first token for messages.
namespace Script::Syntax
{

struct Name {
    QString text; // as written
    QString key;  // case-folded, for look-ups
    SourcePos pos;
};

enum class ExprKind {
    Integer,    // integer
    Real,       // real
    String,     // text (one character: also usable as a Char)
    Name,       // name
    Nil,        //
    Unary,      // op left
    Binary,     // left op right; op DotDot marks a range inside a set or case label
    Call,       // left(args); `hasParens` tells F() from F
    Index,      // left[args]
    Field,      // left.name
    SetLiteral, // [args]
};

struct Expr {
    ExprKind kind;
    SourcePos pos;
    int depth = 1; // height of the tree below, bounded by the parser
    int64_t integer = 0;
    double real = 0;
    QString text;
    Name name;
    TokenKind op = TokenKind::EndOfFile;
    bool hasParens = false;
    std::unique_ptr<Expr> left, right;
    std::vector<std::unique_ptr<Expr>> args;
};
using ExprPtr = std::unique_ptr<Expr>;

enum class TypeKind {
    Named,       // name
    Enumeration, // (names)
    Subrange,    // low..high
    Set,         // set of element
    Array,       // array[indexes] of element
    Record,      // record fields end
};

struct Type;
using TypePtr = std::unique_ptr<Type>;

struct FieldGroup {
    std::vector<Name> names;
    TypePtr type;
};

struct Type {
    Type(TypeKind kind, SourcePos pos) : kind(kind), pos(pos) {}

    TypeKind kind;
    SourcePos pos;
    Name name;
    std::vector<Name> names;
    ExprPtr low, high;
    std::vector<TypePtr> indexes;
    TypePtr element;
    std::vector<FieldGroup> fields;
};

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using StmtList = std::vector<StmtPtr>;

struct CaseArm {
    std::vector<ExprPtr> labels; // a label range is a Binary DotDot
    StmtPtr body;
};

struct Handler {
    Name variable; // empty in "on Exception do"
    Name type;
    StmtPtr body;
};

enum class StmtKind {
    Empty,
    Compound, // list
    Assign,   // target := value
    Call,     // target (a designator: call of a procedure, possibly without parentheses)
    If,       // if value then body else otherwise
    Case,     // case value of arms else list end
    While,    // while value do body
    Repeat,   // repeat list until value
    For,      // for variable := value to/downto limit do body
    Try,      // try list except (list | handlers [else otherList]) end, or finally otherList end
    Raise,    // raise [value]
};

struct Stmt {
    Stmt(StmtKind kind, SourcePos pos) : kind(kind), pos(pos) {}

    StmtKind kind;
    SourcePos pos;
    ExprPtr target, value, limit;
    Name variable;
    bool downto = false;
    bool isFinally = false;
    bool hasElse = false;
    StmtPtr body, otherwise;
    StmtList list, otherList;
    std::vector<CaseArm> arms;
    std::vector<Handler> handlers;
};

enum class ParamMode { Value, Const, Var, Out };

struct ParamGroup {
    ParamMode mode = ParamMode::Value;
    std::vector<Name> names;
    TypePtr type;
};

struct RoutineHeading {
    SourcePos pos;
    bool isFunction = false;
    Name name;
    std::vector<ParamGroup> params;
    TypePtr result;
};

struct VarDecl {
    std::vector<Name> names;
    TypePtr type;
    ExprPtr initial;
};

struct ConstDecl {
    Name name;
    TypePtr type; // typed constant when set
    ExprPtr value;
};

struct TypeDecl {
    Name name;
    TypePtr type;
};

struct Block;

struct Routine {
    RoutineHeading heading;
    bool forward = false;
    std::unique_ptr<Block> block;
};

using Decl = std::variant<VarDecl, ConstDecl, TypeDecl, Routine>;

struct Block {
    std::vector<Decl> decls;
    SourcePos beginPos, endPos;
    StmtList body;
};

} // namespace Script::Syntax
