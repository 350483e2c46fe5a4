/**
 * One fault of a point file: the object that `marlint --json` writes for it,
 * member for member.
 */
export interface Fault {
  /** The point file as the check names it: `fileName`, "<stdin>" by default. */
  file: string;
  /** Line, from 1 (the header line); null for a fault that concerns no line. */
  line: number | null;
  /** Byte column, from 1, where the offending text starts; null without a line. */
  column: number | null;
  /**
   * "error" for a fault; "note" for what a person should know but breaks no
   * rule, such as lines after an empty line that are not read. Notes come
   * after the faults and never change the result. "fixed" for a fault that
   * `fix()` removed, with the one fix applied in `fixes`.
   */
  severity: 'error' | 'note' | 'fixed';
  /** Field of the offending text, from 0; null for a whole line or none. */
  field: number | null;
  /** The offending column in words, such as "unit". */
  columnName: string;
  /** The offending text as the file holds it; null without a line. */
  text: string | null;
  /** The result text this fault gives when it is the first. */
  message: string;
  /** A short, stable name of the rule broken, such as "unit-name". */
  rule: string;
  /** Accepted words close to `text`. */
  suggestions: string[];
  /**
   * The stable names of the likely causes the detail names, most likely
   * first, such as "trailing-commas" or "utf16-text"; empty for none.
   */
  causes: string[];
  /** One sentence for people saying what is wrong and what is accepted. */
  detail: string;
  /** For a repeated point name, the line where it first appears; else null. */
  firstLine: number | null;
  /**
   * The changes that remove the fault, each proved on the file: "certain"
   * where exactly one change is right, "maybe", one per candidate, where a
   * person must choose. Empty where no change is known.
   */
  fixes: Fix[];
  /** Members that later versions of the report add. */
  [member: string]: unknown;
}

/** One replacement of bytes of the point file as given. */
export interface Edit {
  /** From the start of the input, in bytes. */
  offset: number;
  /** How many bytes it replaces. */
  length: number;
  /** What replaces them. */
  replacement: string;
}

/** A change that removes a fault. */
export interface Fix {
  /** For people, such as: write "CELSIUS". */
  description: string;
  /** "certain" where exactly one change is right, which `fix()` applies. */
  applicability: 'certain' | 'maybe';
  /** In offset order, never overlapping. */
  edits: Edit[];
}

export interface CheckOptions {
  /** Go on after the first fault and report every one, as `--all` does. */
  every?: boolean;
  /** The `file` of each fault; "<stdin>" by default. */
  fileName?: string;
  /** Faults per call of `onPage`; 1000 by default. */
  pageSize?: number;
  /**
   * Receives the faults as they are found, at most `pageSize` at a time;
   * the result's `faults` is then undefined.
   */
  onPage?: (faults: Fault[]) => void;
}

/** Options that hand the faults to `onPage` rather than to the result. */
export interface PagedCheckOptions extends CheckOptions {
  onPage: (faults: Fault[]) => void;
}

/** What every check resolves to. */
export interface CheckOutcome {
  /**
   * "OK", or the message of the first fault: what the command line writes,
   * read as the report's JSON reads it. Well-formed UTF-8 is read as UTF-8
   * (a byte-order mark included); a byte outside it is read as the
   * character of the same value, U+0080 to U+00FF, so that this is the
   * first fault's `message` character for character.
   */
  resultText: string;
  /** The result text byte for byte, as the result file holds it. */
  resultBytes: Uint8Array;
  /** 0 when the result text is "OK", -1 otherwise. */
  status: 0 | -1;
  /** How many faults and notes were found, counted in full. */
  faultCount: number;
  /** The faults, unless `onPage` received them. */
  faults: Fault[] | undefined;
}

/** A check without `onPage`: the faults come with the result. */
export interface CheckResult extends CheckOutcome {
  /** Every fault (or the first, without `every`) and note, in line order. */
  faults: Fault[];
}

/** A check with `onPage`, which received the faults instead. */
export interface PagedCheckResult extends CheckOutcome {
  faults: undefined;
}

/**
 * Checks a point file's bytes, or a string encoded as UTF-8. Rejects only
 * for wrong arguments or when the checker runs out of memory; bad input is
 * a result, never an error.
 */
export function check(input: Uint8Array | string, options: PagedCheckOptions): Promise<PagedCheckResult>;
export function check(
  input: Uint8Array | string,
  options?: CheckOptions & {onPage?: undefined},
): Promise<CheckResult>;
export function check(input: Uint8Array | string, options?: CheckOptions): Promise<CheckOutcome>;

export interface FixOptions {
  /** The `file` of each fault; "<stdin>" by default. */
  fileName?: string;
}

/** What `fix()` resolves to. */
export interface FixResult {
  /**
   * The input with every certain fix applied: byte for byte what
   * `marlint --fix=OUT` writes to OUT. Every other byte, line ends and bytes
   * that are not UTF-8 included, is kept.
   */
  bytes: Uint8Array;
  /**
   * Each fault a fix removed, severity "fixed", with the fix applied in
   * `fixes`; its line, column and edits are those of the input.
   */
  applied: Fault[];
  /** Every fault and note of `bytes`, where they stand there: what is left for a person. */
  remaining: Fault[];
}

/**
 * Applies every certain fix to a point file's bytes, or a string encoded as
 * UTF-8, again on the result while a fix reveals another, so that fixing
 * the result changes nothing. Rejects only for wrong arguments or when the
 * checker runs out of memory.
 */
export function fix(input: Uint8Array | string, options?: FixOptions): Promise<FixResult>;
