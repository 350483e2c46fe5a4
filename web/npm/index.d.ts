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
   * rule, such as lines after an empty line that are not checked. Notes come
   * after the faults and never change the result.
   */
  severity: 'error' | 'note';
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
  /** One sentence for people saying what is wrong and what is accepted. */
  detail: string;
  /** For a repeated point name, the line where it first appears; else null. */
  firstLine: number | null;
  /** Members that later versions of the report add. */
  [member: string]: unknown;
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

export interface CheckResult {
  /** "OK", or the message of the first fault: what the command line writes. */
  resultText: string;
  /** The result text byte for byte (it may hold bytes that are not UTF-8). */
  resultBytes: Uint8Array;
  /** 0 when the result text is "OK", -1 otherwise. */
  status: 0 | -1;
  /** How many faults and notes were found, counted in full. */
  faultCount: number;
  /** Every fault in line order, unless `onPage` received them. */
  faults: Fault[] | undefined;
}

/**
 * Checks a point file's bytes, or a string encoded as UTF-8. Rejects only
 * for wrong arguments or when the checker runs out of memory; bad input is
 * a result, never an error.
 */
export function check(input: Uint8Array | string, options?: CheckOptions): Promise<CheckResult>;
